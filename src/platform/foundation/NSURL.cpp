#include "platform/foundation/NSURL.h"

#include <algorithm>
#include <cctype>

namespace {

bool isSchemeText(const std::string& scheme) {
    if (scheme.empty() || !std::isalpha(static_cast<unsigned char>(scheme[0]))) {
        return false;
    }
    return std::all_of(scheme.begin(), scheme.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
}

bool hasForbiddenCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 127; });
}

}  // namespace

NSURL NSURL::fileURLWithPath(const std::string& path) {
    return NSURL("file://" + path);
}

std::optional<NSURL> NSURL::URLWithString(const std::string& text) {
    std::size_t colon = text.find(':');
    if (colon == std::string::npos || !isSchemeText(text.substr(0, colon)) ||
        hasForbiddenCharacter(text)) {
        return std::nullopt;
    }
    return NSURL(text);
}

std::string NSURL::scheme() const {
    return absolute_.substr(0, absolute_.find(':'));
}

std::size_t NSURL::afterAuthority() const {
    std::size_t start = absolute_.find(':') + 1;
    if (absolute_.compare(start, 2, "//") != 0) {
        return start;
    }
    std::size_t slash = absolute_.find('/', start + 2);
    return slash == std::string::npos ? absolute_.size() : slash;
}

std::string NSURL::host() const {
    std::size_t start = absolute_.find(':') + 1;
    if (absolute_.compare(start, 2, "//") != 0) {
        return "";
    }
    return absolute_.substr(start + 2, afterAuthority() - start - 2);
}

std::string NSURL::path() const {
    std::string rest = absolute_.substr(afterAuthority());
    if (isFileURL()) {
        return rest;  // a file path is kept as given, "?" and "#" included
    }
    return rest.substr(0, std::min(rest.find('?'), rest.find('#')));
}
