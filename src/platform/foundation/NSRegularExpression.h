#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <unicode/uversion.h>

#include "platform/foundation/NSRange.h"

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

enum NSRegularExpressionOptions : unsigned {
    NSRegularExpressionCaseInsensitive = 1u << 0,
};

enum NSMatchingOptions : unsigned {
    NSMatchingNone = 0,
};

// A compiled regular expression in ICU's pattern syntax. Matching runs on UTF-8 text and
// reports ranges in its bytes. A match that runs away (catastrophic backtracking) gives up
// after a bounded amount of work and counts as no match, so no input can hang the caller.
class NSRegularExpression {
  public:
    // Null when the pattern does not compile; `error` (when given) then receives the reason
    // and the position of the fault, e.g. "Missing closing bracket at offset 3" (ICU's error
    // name when it has no reason text).
    static std::shared_ptr<NSRegularExpression> regularExpressionWithPattern(
        std::string_view pattern, unsigned options, std::string* error);

    NSRegularExpression(std::unique_ptr<icu::RegexPattern> compiled, std::string pattern,
                        unsigned options);
    ~NSRegularExpression();
    NSRegularExpression(const NSRegularExpression&) = delete;
    NSRegularExpression& operator=(const NSRegularExpression&) = delete;

    // What a search found: the pattern, no match, or that it gave up before it could tell
    // (the bounded work above, or the matcher's backtracking stack, was used up).
    enum class Search { Found, NotFound, GaveUp };

    const std::string& pattern() const { return pattern_; }
    unsigned options() const { return options_; }

    // The first match inside `range` (the whole string when none is given), or none.
    std::optional<NSRange> firstMatchInString(std::string_view string,
                                              unsigned options = NSMatchingNone,
                                              std::optional<NSRange> range = std::nullopt) const;
    // How many matches, one after another without overlapping, lie inside `range`.
    std::size_t numberOfMatchesInString(std::string_view string, unsigned options = NSMatchingNone,
                                        std::optional<NSRange> range = std::nullopt) const;

    // Whether the pattern is found anywhere in the string (a search, not a whole match).
    Search searchInString(std::string_view string) const;

  private:
    class Scan;

    std::unique_ptr<icu::RegexPattern> compiled_;
    std::string pattern_;
    unsigned options_;
};
