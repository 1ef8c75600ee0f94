#include "platform/foundation/NSNumberFormatter.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

namespace {

NSNumberFormatter wholeNumbers(const char* locale) {
    NSNumberFormatter formatter;
    formatter.setNumberStyle(NSNumberFormatterDecimalStyle);
    formatter.setMaximumFractionDigits(0);
    formatter.setLocaleIdentifier(locale);
    return formatter;
}

TEST(NSNumberFormatter, WholeNumbersRoundHalvesToEven) {
    NSNumberFormatter formatter = wholeNumbers("en_US");
    EXPECT_EQ(formatter.stringFromNumber(37.6), "38");
    EXPECT_EQ(formatter.stringFromNumber(37.4), "37");
    EXPECT_EQ(formatter.stringFromNumber(0.5), "0");
    EXPECT_EQ(formatter.stringFromNumber(1.5), "2");
    EXPECT_EQ(formatter.stringFromNumber(2.5), "2");
    EXPECT_EQ(formatter.stringFromNumber(-2.5), "-2");
    EXPECT_EQ(formatter.stringFromNumber(100), "100");

    formatter.setRoundingMode(NSNumberFormatterRoundHalfUp);
    EXPECT_EQ(formatter.stringFromNumber(2.5), "3");
    EXPECT_EQ(formatter.stringFromNumber(-2.5), "-3");
}

TEST(NSNumberFormatter, FollowsTheLocaleForSeparators) {
    NSNumberFormatter us;
    us.setNumberStyle(NSNumberFormatterDecimalStyle);
    us.setLocaleIdentifier("en_US");
    NSNumberFormatter german = us;
    german.setLocaleIdentifier("de_DE");

    EXPECT_EQ(us.stringFromNumber(1234567.25), "1,234,567.25");
    EXPECT_EQ(german.stringFromNumber(1234567.25), "1.234.567,25");
    EXPECT_EQ(us.stringFromNumber(3.14159), "3.142");
    EXPECT_EQ(german.stringFromNumber(3.14159), "3,142");

    german.setUsesGroupingSeparator(false);
    EXPECT_EQ(german.stringFromNumber(1234.5), "1234,5");
}

TEST(NSNumberFormatter, StylesAndFractionDigitBounds) {
    NSNumberFormatter formatter;
    formatter.setLocaleIdentifier("de_DE");
    EXPECT_EQ(formatter.stringFromNumber(1234.56), "1235");
    formatter.setNumberStyle(NSNumberFormatterDecimalStyle);
    EXPECT_EQ(formatter.stringFromNumber(1234.56), "1.234,56");
    formatter.setMinimumFractionDigits(4);
    EXPECT_EQ(formatter.stringFromNumber(2.5), "2,5000");
    formatter.setMaximumFractionDigits(1);
    EXPECT_EQ(formatter.stringFromNumber(2), "2,0");
    formatter.setMaximumFractionDigits(-4);
    EXPECT_EQ(formatter.stringFromNumber(2.4), "2");
}

class ProcessLocale : public testing::Test {
  protected:
    void SetUp() override { saved_ = icu::Locale::getDefault(); }
    void TearDown() override {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(saved_, status);
    }
    static void use(const char* identifier) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(identifier), status);
        ASSERT_TRUE(U_SUCCESS(status));
    }

  private:
    icu::Locale saved_;
};

TEST_F(ProcessLocale, IsUsedWhenTheFormatterHasNone) {
    NSNumberFormatter formatter;
    formatter.setNumberStyle(NSNumberFormatterDecimalStyle);
    use("de_DE");
    EXPECT_EQ(formatter.stringFromNumber(0.5), "0,5");
    use("en_US");
    EXPECT_EQ(formatter.stringFromNumber(0.5), "0.5");
    formatter.setLocaleIdentifier("de_DE");
    EXPECT_EQ(formatter.stringFromNumber(0.5), "0,5");
}

}  // namespace
