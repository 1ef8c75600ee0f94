#include "filters/HBFilterTester.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/HBFilterKind.h"

namespace {

using Outcome = HBFilterTestResult::Outcome;
constexpr std::int64_t OR = 0;
constexpr std::int64_t AND = 1;

struct TesterCase {
    std::string name;
    const HBFilterKind* kind;
    std::vector<HBFilterTestField> fields;
    std::vector<std::string> samples;
    Outcome outcome;
    std::vector<std::string> found;
    bool everyRecipient = false;
};

const HBFilterKind* messages() {
    return &HBFilterKind::messages();
}
const HBFilterKind* folders() {
    return &HBFilterKind::folders(0);
}

// Fields of a message filter: From, To, Cc, Subject; of a folder filter: Name, Path, Level.
const std::vector<TesterCase> kCases = {
    {"SearchIsCaseInsensitiveAndFindsAPart",
     messages(),
     {{"bob", OR}},
     {"Mail from BOB@example.com"},
     Outcome::Match,
     {"From"}},
    {"AnchorsStillHold", messages(), {{"^bob$", OR}}, {"bob smith"}, Outcome::NoMatch, {}},
    {"CaseFoldingCoversNonAsciiLetters",
     messages(),
     {{}, {}, {}, {"ÄRGER", OR}},
     {"", "", "", "kein ärger"},
     Outcome::Match,
     {"Subject"}},
    {"OrGroupNeedsOneField",
     messages(),
     {{"a", OR}, {"b", OR}},
     {"x", "b"},
     Outcome::Match,
     {"To"}},
    {"OrGroupWithoutAFindFails",
     messages(),
     {{"a", OR}, {"b", OR}},
     {"x", "y"},
     Outcome::NoMatch,
     {}},
    {"AndGroupNeedsEveryField",
     messages(),
     {{"a", AND}, {}, {"c", AND}},
     {"a", "", "d"},
     Outcome::NoMatch,
     {"From"}},
    {"AndGroupWithEveryFieldFound",
     messages(),
     {{"a", AND}, {}, {"c", AND}},
     {"a", "", "c"},
     Outcome::Match,
     {"From", "Cc"}},
    {"BothGroupsMustMatch",
     messages(),
     {{"a", OR}, {"b", OR}, {}, {"s", AND}},
     {"a", "", "", ""},
     Outcome::NoMatch,
     {"From"}},
    {"BothGroupsMatching",
     messages(),
     {{"a", OR}, {"b", OR}, {}, {"s", AND}},
     {"a", "", "", "Sale"},
     Outcome::Match,
     {"From", "Subject"}},
    {"AndGroupAloneFailingOrGroupCannotRescue",
     messages(),
     {{"a", OR}, {}, {}, {"s", AND}},
     {"", "", "", "s"},
     Outcome::NoMatch,
     {"Subject"}},
    {"OtherMatchTypesTakeNoPart",
     messages(),
     {{"a", 2}, {"b", OR}},
     {"a", "x"},
     Outcome::NoMatch,
     {}},
    {"OnlyOtherMatchTypesLeaveNothing", messages(), {{"a", 2}}, {"a"}, Outcome::NothingToTest, {}},
    {"EmptyFilterLeavesNothing",
     messages(),
     {{}, {}, {}, {}},
     {"a", "b", "c", "d"},
     Outcome::NothingToTest,
     {}},
    {"EmptySampleIsSearchedToo", messages(), {{}, {}, {"^$", OR}}, {}, Outcome::Match, {"Cc"}},
    {"StoredPatternThatDoesNotCompile",
     messages(),
     {{"(", OR}},
     {"("},
     Outcome::InvalidPattern,
     {}},
    // A recipient list is tried address by address, as the option says.
    {"AnyRecipientMatches",
     messages(),
     {{}, {"@work\\.", OR}},
     {"", "a@home.org, b@work.com"},
     Outcome::Match,
     {"To"}},
    {"EveryRecipientMustMatch",
     messages(),
     {{}, {"@work\\.", OR}},
     {"", "a@home.org; b@work.com"},
     Outcome::NoMatch,
     {},
     true},
    {"EveryRecipientMatches",
     messages(),
     {{}, {}, {"^[ab]@work\\.com$", AND}},
     {"", "", " a@work.com ,b@work.com,"},
     Outcome::Match,
     {"Cc"},
     true},
    {"SubjectIsNoRecipientList",
     messages(),
     {{}, {}, {}, {"^b", OR}},
     {"", "", "", "a, b"},
     Outcome::NoMatch,
     {},
     true},
    {"LevelMatchesOnlyItsOwnText",
     folders(),
     {{}, {}, {"2", AND}},
     {"", "", "02"},
     Outcome::NoMatch,
     {}},
    {"LevelIsNoPattern", folders(), {{}, {}, {"(", OR}}, {"", "", "("}, Outcome::Match, {"Level"}},
    {"FolderFormula",
     folders(),
     {{"inbox", OR}, {"^work/", OR}, {"1", AND}},
     {"INBOX", "home/work/", "1"},
     Outcome::Match,
     {"Name", "Level"}},
};

class FilterTesterTest : public ::testing::TestWithParam<TesterCase> {};

TEST_P(FilterTesterTest, EvaluatesAsTheFormulaReads) {
    const TesterCase& c = GetParam();
    HBFilterTestResult result =
        HBFilterTester::test(*c.kind, c.fields, c.samples, c.everyRecipient);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.found, c.found);
}

INSTANTIATE_TEST_SUITE_P(Cases, FilterTesterTest, ::testing::ValuesIn(kCases),
                         [](const auto& kase) { return kase.param.name; });

TEST(FilterTesterRunawayTest, CatastrophicPatternIsStoppedAndNamed) {
    const std::string sample = std::string(48, 'a') + "!";
    for (const std::string& pattern : {std::string("(a+)+$"), std::string("(a|aa)*b")}) {
        HBFilterTestResult result =
            HBFilterTester::test(HBFilterKind::messages(), {{}, {"x", OR}, {}, {pattern, AND}},
                                 {"", "x", "", sample}, true);
        EXPECT_EQ(result.outcome, Outcome::TooSlow) << pattern;
        EXPECT_EQ(result.untested, std::vector<std::string>{"Subject"}) << pattern;
        EXPECT_EQ(result.text(), "Subject: too slow to test") << pattern;
    }
    // Beside a runaway pattern, one that does not compile is what the verdict names.
    HBFilterTestResult both = HBFilterTester::test(
        HBFilterKind::messages(), {{"(", OR}, {}, {}, {"(a+)+$", AND}}, {"", "", "", sample}, true);
    EXPECT_EQ(both.outcome, Outcome::InvalidPattern);
    EXPECT_EQ(both.untested, std::vector<std::string>{"From"});
}

}  // namespace
