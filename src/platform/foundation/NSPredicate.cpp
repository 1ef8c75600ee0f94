#include "platform/foundation/NSPredicate.h"

#include <unicode/unistr.h>

namespace {

std::u32string toCodePoints(std::string_view text) {
    icu::UnicodeString unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), text.size()));
    std::u32string result(static_cast<std::size_t>(unicode.countChar32()), U'\0');
    UErrorCode status = U_ZERO_ERROR;
    unicode.toUTF32(reinterpret_cast<UChar32*>(result.data()),
                    static_cast<std::int32_t>(result.size()), status);
    return result;
}

// Greedy matching that, on a mismatch, lets the most recent "*" swallow one more character.
// Going back only to the last star is enough, since an earlier star can never do better,
// so the match takes at most pattern length times text length steps.
bool wildcardMatch(const std::u32string& pattern, const std::u32string& text) {
    std::size_t p = 0, t = 0;
    std::size_t starAt = std::u32string::npos, resumeText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            resumeText = t;
        } else if (starAt != std::u32string::npos) {
            p = starAt + 1;
            t = ++resumeText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

NSPredicate::NSPredicate(std::string pattern)
    : pattern_(std::move(pattern)), codePoints_(toCodePoints(pattern_)) {}

NSPredicate NSPredicate::predicateWithFormatLike(std::string pattern) {
    return NSPredicate(std::move(pattern));
}

bool NSPredicate::evaluateWithObject(std::string_view text) const {
    return wildcardMatch(codePoints_, toCodePoints(text));
}

std::vector<std::string> NSPredicate::filteredArrayUsingPredicate(
    const std::vector<std::string>& array, const NSPredicate& predicate) {
    std::vector<std::string> kept;
    for (const std::string& item : array) {
        if (predicate.evaluateWithObject(item)) {
            kept.push_back(item);
        }
    }
    return kept;
}
