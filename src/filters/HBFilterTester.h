#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/HBFilterKind.h"

// What one field of a filter holds as the editor shows it: its pattern (the level's text for
// a field that is no pattern) and its match type.
struct HBFilterTestField {
    std::string pattern;
    std::int64_t matchType = 0;

    bool operator==(const HBFilterTestField&) const = default;
};

// The verdict of a filter on sample values, and the row text that says it.
struct HBFilterTestResult {
    enum class Outcome { NothingToTest, Match, NoMatch, TooSlow, InvalidPattern };

    Outcome outcome = Outcome::NothingToTest;
    // The words of the fields found in their samples, in formula order.
    std::vector<std::string> found;
    // The words of the fields that could not be tried: too slow, or not a valid pattern.
    std::vector<std::string> untested;

    std::string text() const;
};

// Tries a filter on sample values the user typed, exactly as its search formula reads: the
// OR group matches when any of its fields is found in its sample, the AND group when all of
// them are, and both groups must match when both exist. Fields that are empty or have
// another match type take no part. Patterns are searched for case-insensitively (found
// anywhere, not matched whole); a field that is no pattern matches a sample equal to it.
// A recipient list's sample holds addresses separated by commas or semicolons; its pattern
// is found when it is found in every address (`everyRecipient`) or in any of them.
// A search that runs away is stopped, and the filter is then too slow to test.
class HBFilterTester {
  public:
    // `fields` and `samples` go with the kind's fields, in order; missing ones count as "".
    static HBFilterTestResult test(const HBFilterKind& kind,
                                   const std::vector<HBFilterTestField>& fields,
                                   const std::vector<std::string>& samples, bool everyRecipient);
    // How a field matches its sample, for the tester's footer.
    static std::string matchingRule(const HBFilterKind& kind, bool everyRecipient);
};
