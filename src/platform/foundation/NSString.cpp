#include "platform/foundation/NSString.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <locale.h>
#include <climits>
#include <cstdlib>
#include <memory>

namespace {

NSComparisonResult comparisonFromOrder(int order) {
    return order < 0 ? NSOrderedAscending : order > 0 ? NSOrderedDescending : NSOrderedSame;
}

icu::UnicodeString unicodeFrom(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), text.size()));
}

// The code point at `offset`, moving the offset past it; negative for a malformed byte.
UChar32 nextCodePoint(std::string_view text, std::size_t& offset) {
    std::int32_t at = static_cast<std::int32_t>(offset);
    UChar32 c;
    U8_NEXT(text.data(), at, static_cast<std::int32_t>(text.size()), c);
    offset = static_cast<std::size_t>(at);
    return c;
}

std::size_t skipWhiteSpace(std::string_view text) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        std::size_t next = offset;
        UChar32 c = nextCodePoint(text, next);
        if (c < 0 || !u_isUWhiteSpace(c)) {
            break;
        }
        offset = next;
    }
    return offset;
}

bool isDigit(std::string_view text, std::size_t at) {
    return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t at) {
    while (isDigit(text, at)) {
        ++at;
    }
    return at;
}

// The length of the decimal number at the start of `text` (sign included), 0 when none.
std::size_t decimalNumberLength(std::string_view text) {
    std::size_t at = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    std::size_t mantissa = at;
    at = skipDigits(text, at);
    bool wholeDigits = at > mantissa;
    std::size_t fraction = at;
    if (at < text.size() && text[at] == '.') {
        fraction = skipDigits(text, at + 1);
    }
    if (!wholeDigits && fraction <= at + 1) {
        return 0;
    }
    at = fraction;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (isDigit(text, exponent)) {
            at = skipDigits(text, exponent);
        }
    }
    return at;
}

// Number reading must not follow the process's locale: "1.5" is one and a half everywhere.
locale_t cLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

// The POSIX locale (no language chosen, as under LANG=C) sorts by code point, which would
// put every capital before every small letter; the root order suits any language instead.
icu::Locale sortingLocale() {
    const icu::Locale& chosen = icu::Locale::getDefault();
    return std::string_view(chosen.getVariant()) == "POSIX" ? icu::Locale::getRoot() : chosen;
}

bool isPathCharacter(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return std::string_view("-._~!$&'()*+,;=:@/").find(static_cast<char>(c)) !=
           std::string_view::npos;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t offset = 0; offset < text.size();) {
        if (nextCodePoint(text, offset) < 0) {
            return false;
        }
    }
    return true;
}

std::string_view withoutTrailingSeparators(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    return path;
}

// Where the last component starts, in a path without trailing separators.
std::size_t lastComponentStart(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return (slash == std::string_view::npos || path == "/") ? 0 : slash + 1;
}

// The offset of the extension's dot inside the path, or npos.
std::size_t extensionDot(std::string_view path) {
    std::size_t start = lastComponentStart(path);
    std::size_t dot = path.rfind('.');
    return (dot == std::string_view::npos || dot <= start) ? std::string_view::npos : dot;
}

}  // namespace

NSComparisonResult NSString::caseInsensitiveCompare(std::string_view a, std::string_view b) {
    return comparisonFromOrder(unicodeFrom(a).caseCompare(unicodeFrom(b), U_FOLD_CASE_DEFAULT));
}

NSComparisonResult NSString::localizedCaseInsensitiveCompare(std::string_view a,
                                                             std::string_view b) {
    // Collators are not shared between threads; each thread builds its own once.
    thread_local std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(sortingLocale(), status));
        if (U_FAILURE(status)) {
            return std::unique_ptr<icu::Collator>();
        }
        made->setStrength(icu::Collator::SECONDARY);
        return made;
    }();
    if (!collator) {
        return caseInsensitiveCompare(a, b);
    }
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult order = collator->compareUTF8(icu::StringPiece(a.data(), a.size()),
                                                   icu::StringPiece(b.data(), b.size()), status);
    return U_FAILURE(status) ? caseInsensitiveCompare(a, b) : comparisonFromOrder(order);
}

float NSString::floatValue(std::string_view text) {
    text.remove_prefix(skipWhiteSpace(text));
    std::string number(text.substr(0, decimalNumberLength(text)));
    return number.empty() ? 0.0f : strtof_l(number.c_str(), nullptr, cLocale());
}

int NSString::intValue(std::string_view text) {
    std::size_t at = skipWhiteSpace(text);
    bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; isDigit(text, at) && magnitude < limit; ++at) {
        magnitude = magnitude * 10 + (text[at] - '0');
    }
    magnitude = std::min(magnitude, limit);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::string NSString::uppercaseString(std::string_view text) {
    std::string result;
    unicodeFrom(text).toUpper(icu::Locale::getRoot()).toUTF8String(result);
    return result;
}

std::string NSString::stringByTrimmingCharactersInSet(std::string_view text,
                                                      std::string_view characters) {
    icu::UnicodeString set = unicodeFrom(characters);
    auto member = [&set](UChar32 c) { return c >= 0 && set.indexOf(c) >= 0; };
    std::size_t start = 0, end = 0;
    bool seenKept = false;
    for (std::size_t offset = 0; offset < text.size();) {
        std::size_t at = offset;
        if (!member(nextCodePoint(text, offset))) {
            start = seenKept ? start : at;
            end = offset;
            seenKept = true;
        }
    }
    return std::string(text.substr(start, end - start));
}

std::string NSString::lastPathComponent(std::string_view path) {
    path = withoutTrailingSeparators(path);
    return std::string(path.substr(lastComponentStart(path)));
}

std::string NSString::pathExtension(std::string_view path) {
    path = withoutTrailingSeparators(path);
    std::size_t dot = extensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

std::string NSString::stringByDeletingPathExtension(std::string_view path) {
    path = withoutTrailingSeparators(path);
    return std::string(path.substr(0, extensionDot(path)));
}

std::string NSString::stringByAddingPercentEscapes(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string result;
    for (char byte : text) {
        unsigned char c = static_cast<unsigned char>(byte);
        if (isPathCharacter(c)) {
            result += byte;
        } else {
            result += '%';
            result += kHex[c >> 4];
            result += kHex[c & 0xF];
        }
    }
    return result;
}

std::optional<std::string> NSString::stringByRemovingPercentEncoding(std::string_view text) {
    std::string result;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%') {
            result += text[at];
            continue;
        }
        int high = at + 1 < text.size() ? hexDigitValue(text[at + 1]) : -1;
        int low = at + 2 < text.size() ? hexDigitValue(text[at + 2]) : -1;
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        result += static_cast<char>(high * 16 + low);
        at += 2;
    }
    return isValidUtf8(result) ? std::optional<std::string>(std::move(result)) : std::nullopt;
}
