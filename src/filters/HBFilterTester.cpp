#include "filters/HBFilterTester.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <optional>

#include "platform/foundation/NSRegularExpression.h"

namespace {

using Search = NSRegularExpression::Search;
using Outcome = HBFilterTestResult::Outcome;

// None for a pattern that does not compile: records edited by hand may hold one.
std::optional<Search> searchField(const HBFilterField& field, const std::string& pattern,
                                  const std::string& sample) {
    if (!field.isPattern) {
        return sample == pattern ? Search::Found : Search::NotFound;
    }
    auto expression = NSRegularExpression::regularExpressionWithPattern(
        pattern, NSRegularExpressionCaseInsensitive, nullptr);
    if (!expression) {
        return std::nullopt;
    }
    return expression->searchInString(sample);
}

// One group of the formula as it fills: whether it has members and what they give.
struct Group {
    bool used = false;
    bool matches = false;
};

}  // namespace

HBFilterTestResult HBFilterTester::test(const HBFilterKind& kind,
                                        const std::vector<HBFilterTestField>& fields,
                                        const std::vector<std::string>& samples) {
    HBFilterTestResult result;
    Group any;
    Group all{false, true};
    std::vector<std::string> tooSlow;
    std::vector<std::string> invalid;
    for (std::size_t index = 0; index < kind.fields.size() && index < fields.size(); ++index) {
        const HBFilterTestField& field = fields[index];
        if (field.pattern.empty() || (field.matchType != 0 && field.matchType != 1)) {
            continue;
        }
        const HBFilterField& described = kind.fields[index];
        std::string sample = index < samples.size() ? samples[index] : std::string();
        std::optional<Search> search = searchField(described, field.pattern, sample);
        bool found = search == Search::Found;
        if (!search) {
            invalid.push_back(described.word);
        } else if (search == Search::GaveUp) {
            tooSlow.push_back(described.word);
        } else if (found) {
            result.found.push_back(described.word);
        }
        Group& group = field.matchType == 0 ? any : all;
        group.used = true;
        group.matches = field.matchType == 0 ? group.matches || found : group.matches && found;
    }
    // A field that could not be tried is named rather than guessed at, even where the others
    // would decide: the extension meets the same pattern in real mail.
    if (!invalid.empty()) {
        result.outcome = Outcome::InvalidPattern;
        result.untested = std::move(invalid);
    } else if (!tooSlow.empty()) {
        result.outcome = Outcome::TooSlow;
        result.untested = std::move(tooSlow);
    } else if (!any.used && !all.used) {
        result.outcome = Outcome::NothingToTest;
    } else {
        bool matches = (!any.used || any.matches) && (!all.used || all.matches);
        result.outcome = matches ? Outcome::Match : Outcome::NoMatch;
    }
    return result;
}

std::string HBFilterTestResult::text() const {
    std::string untestedWords = fmt::format("{}", fmt::join(untested, ", "));
    switch (outcome) {
        case Outcome::NothingToTest:
            return "Nothing to test: the filter uses no field";
        case Outcome::Match:
            return fmt::format("Matches: {}", fmt::join(found, ", "));
        case Outcome::NoMatch:
            return found.empty() ? "No match"
                                 : fmt::format("No match (found: {})", fmt::join(found, ", "));
        case Outcome::TooSlow:
            return untestedWords + ": too slow to test";
        case Outcome::InvalidPattern:
            return untestedWords + ": not a valid pattern";
    }
    return "";
}
