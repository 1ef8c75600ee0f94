#include "filters/HBFilterTester.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <optional>

#include "platform/foundation/NSRegularExpression.h"

namespace {

using Search = NSRegularExpression::Search;
using Outcome = HBFilterTestResult::Outcome;

// The addresses of a recipient list, trimmed; the whole sample when it names none.
std::vector<std::string> addressesOf(const std::string& sample) {
    std::vector<std::string> addresses;
    std::size_t start = 0;
    while (true) {
        std::size_t end = sample.find_first_of(",;", start);
        std::string part = sample.substr(start, end == std::string::npos ? end : end - start);
        std::size_t first = part.find_first_not_of(" \t");
        if (first != std::string::npos) {
            addresses.push_back(part.substr(first, part.find_last_not_of(" \t") - first + 1));
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    if (addresses.empty()) {
        addresses.push_back(sample);
    }
    return addresses;
}

// None for a pattern that does not compile: records edited by hand may hold one.
std::optional<Search> searchField(const HBFilterField& field, const std::string& pattern,
                                  const std::string& sample, bool everyRecipient) {
    if (!field.isPattern) {
        return sample == pattern ? Search::Found : Search::NotFound;
    }
    auto expression = NSRegularExpression::regularExpressionWithPattern(
        pattern, NSRegularExpressionCaseInsensitive, nullptr);
    if (!expression) {
        return std::nullopt;
    }
    if (!field.isRecipientList) {
        return expression->searchInString(sample);
    }
    bool anyFound = false;
    bool allFound = true;
    for (const std::string& address : addressesOf(sample)) {
        Search search = expression->searchInString(address);
        if (search == Search::GaveUp) {
            return Search::GaveUp;
        }
        anyFound = anyFound || search == Search::Found;
        allFound = allFound && search == Search::Found;
    }
    return (everyRecipient ? allFound : anyFound) ? Search::Found : Search::NotFound;
}

// One group of the formula as it fills: whether it has members and what they give.
struct Group {
    bool used = false;
    bool matches = false;
};

}  // namespace

HBFilterTestResult HBFilterTester::test(const HBFilterKind& kind,
                                        const std::vector<HBFilterTestField>& fields,
                                        const std::vector<std::string>& samples,
                                        bool everyRecipient) {
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
        std::optional<Search> search =
            searchField(described, field.pattern, sample, everyRecipient);
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

std::string HBFilterTester::matchingRule(const HBFilterKind& kind, bool everyRecipient) {
    std::vector<std::string> lists;
    for (const HBFilterField& field : kind.fields) {
        if (field.isRecipientList) {
            lists.push_back(field.word);
        }
    }
    std::string rule = "A pattern matches where it is found in its sample, in any case.";
    if (!lists.empty()) {
        rule += fmt::format(
            " Separate addresses in {} with commas: a pattern there must be found in {}.",
            fmt::join(lists, " and "), everyRecipient ? "every address" : "at least one address");
    }
    return rule;
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
