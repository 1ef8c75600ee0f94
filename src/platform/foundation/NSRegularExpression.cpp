#include "platform/foundation/NSRegularExpression.h"

#include <unicode/regex.h>
#include <unicode/utext.h>

#include <algorithm>
#include <map>

#include <fmt/format.h>

namespace {

// ICU counts this limit in its own steps of work (roughly milliseconds); well beyond any
// sensible match of a header line, well short of a hang.
constexpr std::int32_t kMatchTimeLimit = 200;

// What a person reads of a pattern that does not compile; ICU's name for faults it has no
// text for.
std::string compileErrorReason(UErrorCode status, const UParseError& where) {
    static const std::map<UErrorCode, const char*> kReasons = {
        {U_REGEX_RULE_SYNTAX, "Syntax error"},
        {U_REGEX_BAD_ESCAPE_SEQUENCE, "Unknown escape sequence"},
        {U_REGEX_PROPERTY_SYNTAX, "Unknown character property"},
        {U_REGEX_UNIMPLEMENTED, "Unsupported pattern feature"},
        {U_REGEX_NUMBER_TOO_BIG, "Number too large"},
        {U_REGEX_BAD_INTERVAL, "Malformed repetition count"},
        {U_REGEX_MAX_LT_MIN, "Repetition maximum below its minimum"},
        {U_REGEX_INVALID_BACK_REF, "Back reference to a missing group"},
        {U_REGEX_INVALID_FLAG, "Unknown flag"},
        {U_REGEX_LOOK_BEHIND_LIMIT, "Look-behind without a bounded length"},
        {U_REGEX_SET_CONTAINS_STRING, "Character class containing a string"},
        {U_REGEX_MISSING_CLOSE_BRACKET, "Missing closing bracket"},
        {U_REGEX_INVALID_RANGE, "Invalid character range"},
        {U_REGEX_PATTERN_TOO_BIG, "Pattern too large"},
        {U_REGEX_INVALID_CAPTURE_GROUP_NAME, "Invalid group name"},
    };
    if (status == U_REGEX_MISMATCHED_PAREN) {
        // At the end of the pattern a group is still open; anywhere else a ")" closes none.
        return where.postContext[0] == 0 ? "Missing closing parenthesis"
                                         : "Unmatched closing parenthesis";
    }
    auto found = kReasons.find(status);
    return found != kReasons.end() ? found->second : u_errorName(status);
}

std::string describeCompileError(UErrorCode status, const UParseError& where) {
    std::string text = compileErrorReason(status, where);
    if (where.offset >= 0) {
        text += fmt::format(" at offset {}", where.offset);
    }
    return text;
}

}  // namespace

// One pass of a matcher over UTF-8 text, whose native positions are the text's byte offsets.
class NSRegularExpression::Scan {
  public:
    Scan(const icu::RegexPattern& pattern, std::string_view text, std::optional<NSRange> range) {
        utext_openUTF8(&text_, text.data(), static_cast<std::int64_t>(text.size()), &status_);
        matcher_.reset(pattern.matcher(status_));
        if (U_FAILURE(status_)) {
            return;
        }
        matcher_->reset(&text_);
        matcher_->setTimeLimit(kMatchTimeLimit, status_);
        NSRange span = range.value_or(NSMakeRange(0, text.size()));
        std::size_t end = std::min(span.end(), text.size());
        std::size_t start = std::min(span.location, end);
        matcher_->region(static_cast<std::int64_t>(start), static_cast<std::int64_t>(end), status_);
    }
    ~Scan() { utext_close(&text_); }
    bool gaveUp() const { return status_ == U_REGEX_TIME_OUT || status_ == U_REGEX_STACK_OVERFLOW; }
    Scan(const Scan&) = delete;
    Scan& operator=(const Scan&) = delete;

    // The next match, or none at the end or when the time limit ran out.
    std::optional<NSRange> next() {
        if (U_FAILURE(status_) || !matcher_->find(status_) || U_FAILURE(status_)) {
            return std::nullopt;
        }
        std::int64_t start = matcher_->start64(status_);
        std::int64_t end = matcher_->end64(status_);
        if (U_FAILURE(status_)) {
            return std::nullopt;
        }
        return NSMakeRange(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    }

  private:
    UErrorCode status_ = U_ZERO_ERROR;
    UText text_ = UTEXT_INITIALIZER;
    std::unique_ptr<icu::RegexMatcher> matcher_;
};

std::shared_ptr<NSRegularExpression> NSRegularExpression::regularExpressionWithPattern(
    std::string_view pattern, unsigned options, std::string* error) {
    std::uint32_t flags =
        (options & NSRegularExpressionCaseInsensitive) ? UREGEX_CASE_INSENSITIVE : 0;
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    icu::UnicodeString source =
        icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(), pattern.size()));
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(source, flags, where, status));
    if (U_FAILURE(status) || !compiled) {
        if (error) {
            *error = describeCompileError(status, where);
        }
        return nullptr;
    }
    return std::make_shared<NSRegularExpression>(std::move(compiled), std::string(pattern),
                                                 options);
}

NSRegularExpression::NSRegularExpression(std::unique_ptr<icu::RegexPattern> compiled,
                                         std::string pattern, unsigned options)
    : compiled_(std::move(compiled)), pattern_(std::move(pattern)), options_(options) {}

NSRegularExpression::~NSRegularExpression() = default;

std::optional<NSRange> NSRegularExpression::firstMatchInString(std::string_view string,
                                                               unsigned /*options*/,
                                                               std::optional<NSRange> range) const {
    return Scan(*compiled_, string, range).next();
}

std::size_t NSRegularExpression::numberOfMatchesInString(std::string_view string,
                                                         unsigned /*options*/,
                                                         std::optional<NSRange> range) const {
    Scan scan(*compiled_, string, range);
    std::size_t count = 0;
    while (scan.next()) {
        ++count;
    }
    return count;
}

NSRegularExpression::Search NSRegularExpression::searchInString(std::string_view string) const {
    Scan scan(*compiled_, string, std::nullopt);
    if (scan.next()) {
        return Search::Found;
    }
    return scan.gaveUp() ? Search::GaveUp : Search::NotFound;
}
