#pragma once

#include <string>
#include <string_view>
#include <vector>

// The one predicate the pane uses, "SELF like %@": a case-sensitive wildcard match of the
// whole string, where "*" stands for any run of characters (possibly none) and "?" for
// exactly one character. Characters are Unicode code points of UTF-8 text.
class NSPredicate {
  public:
    static NSPredicate predicateWithFormatLike(std::string pattern);

    const std::string& pattern() const { return pattern_; }
    bool evaluateWithObject(std::string_view text) const;

    // The strings of `array` that satisfy the predicate, in their order.
    static std::vector<std::string> filteredArrayUsingPredicate(
        const std::vector<std::string>& array, const NSPredicate& predicate);

  private:
    explicit NSPredicate(std::string pattern);

    std::string pattern_;
    std::u32string codePoints_;
};
