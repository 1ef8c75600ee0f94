#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/ui/NSMutableAttributedString.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextView.h"

TEST(UIFontMeasurement, WidthsGrowWithTextAndScaleWithSize) {
    UIFont font = UIFont::systemFontOfSize(17);
    std::string text = "Brightness: 100% and #CCCCCCC";
    double previous = 0;
    for (std::size_t n = 1; n <= text.size(); ++n) {
        double width = font.widthOfString(text.substr(0, n));
        EXPECT_GT(width, previous) << n;
        previous = width;
    }
    EXPECT_DOUBLE_EQ(UIFont::systemFontOfSize(34).widthOfString(text), 2 * previous);
    EXPECT_GT(UIFont::boldSystemFontOfSize(17).widthOfString(text), previous);
    EXPECT_DOUBLE_EQ(font.widthOfString(text), previous);  // same answer every time
    // A line holds the ascender and descender of the face.
    EXPECT_GT(font.lineHeight(), 17);
    EXPECT_LT(font.lineHeight(), 17 * 1.5);
    EXPECT_DOUBLE_EQ(font.ascender() - font.descender(), font.lineHeight());
}

TEST(UIFontMeasurement, TheNumbersAreThoseOfDejaVuSans) {
    // Fixed by the face's own metrics, so they are the same on every machine that has it.
    EXPECT_NEAR(UIFont::systemFontOfSize(17).widthOfString("Brightness:"), 96.2808, 1e-3);
    EXPECT_NEAR(UIFont::boldSystemFontOfSize(17).widthOfString("Brightness:"), 110.2344, 1e-3);
    EXPECT_NEAR(UIFont::systemFontOfSize(17).lineHeight(), 19.7891, 1e-3);
}

TEST(UIFontMeasurement, MalformedTextMeasuresWithoutSpoilingLaterMeasurements) {
    UIFont font = UIFont::systemFontOfSize(13);
    double before = font.widthOfString("Hue:");
    EXPECT_GT(font.widthOfString("\xff\xfe\xc0"), 0);
    EXPECT_GT(font.widthOfString("\xe2\x82"), 0);  // cut off in the middle of a character
    EXPECT_DOUBLE_EQ(font.widthOfString("Hue:"), before);
    EXPECT_GT(font.widthOfString("\xc2\xb0"), 0);  // a degree sign
    EXPECT_EQ(font.widthOfString(""), 0);
}

TEST(UILabelSizing, OneLineIgnoresTheWidthAndMoreLinesWrapWithinIt) {
    UILabel label(CGRectMake(3, 4, 10, 10));
    EXPECT_EQ(label.sizeThatFits(CGSizeMake(100, 100)), CGSizeMake(0, 0));
    label.setText("Please enter a value between");
    label.sizeToFit();
    CGSize oneLine = label.frame().size;
    EXPECT_EQ(label.frame().origin, CGPointMake(3, 4));
    EXPECT_GT(oneLine.width, 150);
    EXPECT_EQ(label.sizeThatFits(CGSizeMake(50, 0)), oneLine);

    label.setNumberOfLines(0);
    CGSize wrapped = label.sizeThatFits(CGSizeMake(oneLine.width / 2, 0));
    EXPECT_LE(wrapped.width, std::ceil(oneLine.width / 2));
    EXPECT_GE(wrapped.height, 2 * oneLine.height - 1);
    label.setNumberOfLines(2);
    EXPECT_LE(label.sizeThatFits(CGSizeMake(20, 0)).height, 2 * oneLine.height);
    label.setText("a\nb\nc");
    label.setNumberOfLines(0);
    EXPECT_GE(label.sizeThatFits(CGSizeMake(200, 0)).height, 3 * oneLine.height - 2);
}

TEST(UILabelSizing, ShrinkingFitsOneLineIntoTheBounds) {
    UILabel label(CGRectMake(0, 0, 40, 20));
    label.setText("Enabled Accounts");
    EXPECT_EQ(label.displayedFont(), label.font());
    label.setAdjustsFontSizeToFitWidth(true);
    UIFont shrunk = label.displayedFont();
    EXPECT_LT(shrunk.pointSize(), label.font().pointSize());
    EXPECT_LE(shrunk.widthOfString(label.text()), 40 + 1e-9);
    label.setMinimumScaleFactor(0.9);
    EXPECT_DOUBLE_EQ(label.displayedFont().pointSize(), 0.9 * label.font().pointSize());
}

namespace {

const char* kHelp =
    "\xE2\x80\xA2\tTap on the Current profile to save it.\n"
    "\xE2\x80\xA2\tTap and hold on a profile to share it (send via email, Copy to DropBox, "
    "etc.).\n\n"
    "\xE2\x80\xA2\tSave to DropBox does not work. You have to use Open In DropBox.";

NSMutableAttributedString helpText(double headIndent, double paragraphSpacing) {
    NSMutableParagraphStyle style;
    style.setParagraphSpacing(paragraphSpacing);
    style.setHeadIndent(headIndent);
    style.setTabStops({NSTextTab(NSTextAlignmentLeft, 15)});
    style.setDefaultTabInterval(15);
    NSMutableAttributedString text(kHelp);
    text.addAttributes({UIFont::systemFontOfSize(13), std::nullopt, std::nullopt, style}, 0,
                       text.length());
    return text;
}

double heightFor(const NSAttributedString& text, double width) {
    UITextView view;
    view.setTextContainerInset(UIEdgeInsets{5, 5, 5, 5});
    view.setAttributedText(text);
    return view.sizeThatFits(CGSizeMake(width, 1e9)).height;
}

}  // namespace

TEST(UITextViewSizing, HeightGrowsWithTextAndSpacingAndShrinksWithWidth) {
    NSMutableAttributedString text = helpText(11, 1.5);
    double wide = heightFor(text, 1000);
    double phone = heightFor(text, 320);
    double narrow = heightFor(text, 160);
    EXPECT_LT(wide, phone);
    EXPECT_LT(phone, narrow);
    EXPECT_DOUBLE_EQ(heightFor(text, 320), phone);

    // Four paragraphs on one line each, three gaps between them, and the insets.
    double line = UIFont::systemFontOfSize(13).lineHeight();
    EXPECT_DOUBLE_EQ(wide, std::ceil(4 * line + 3 * 1.5 + 10));

    EXPECT_GT(heightFor(helpText(11, 20), 320), phone);
    // A deeper head indent leaves less room for the wrapped lines.
    EXPECT_GT(heightFor(helpText(150, 1.5), 320), phone);
    text.appendAttributedString(NSAttributedString(" And a good deal more text to wrap."));
    EXPECT_GT(heightFor(text, 320), phone);
}

TEST(UITextViewSizing, EmptyTextAndTrailingBreaksStillTakeALine) {
    UITextView view;
    view.setFont(UIFont::systemFontOfSize(16));
    double line = view.font().lineHeight();
    EXPECT_DOUBLE_EQ(view.sizeThatFits(CGSizeMake(200, 0)).height, std::ceil(line + 16));
    view.setText("one\n");
    EXPECT_DOUBLE_EQ(view.sizeThatFits(CGSizeMake(200, 0)).height, std::ceil(2 * line + 16));
    EXPECT_EQ(view.sizeThatFits(CGSizeMake(200, 0)).width, 200);
    // A width smaller than the insets still lays the text out, a character a line.
    EXPECT_GT(view.sizeThatFits(CGSizeMake(1, 0)).height, 3 * line);
}

TEST(NSAttributedStringRuns, RangesSplitAndMergeRuns) {
    UIFont bold = UIFont::boldSystemFontOfSize(13);
    NSMutableAttributedString text("Current profile");
    text.addAttributes({bold, std::nullopt, std::nullopt, std::nullopt}, 0, 7);
    text.addAttributes({std::nullopt, UIColor::grayColor(), std::nullopt, std::nullopt}, 3, 100);
    ASSERT_EQ(text.runs().size(), 3u);
    EXPECT_EQ(text.runs()[0].text, "Cur");
    EXPECT_EQ(text.runs()[1].text, "rent");
    EXPECT_EQ(text.runs()[1].attributes.font, bold);
    EXPECT_EQ(text.runs()[1].attributes.foregroundColor, UIColor::grayColor());
    EXPECT_EQ(text.runs()[2].attributes.font, std::nullopt);
    EXPECT_EQ(text.attributesAtIndex(14).foregroundColor, UIColor::grayColor());
    EXPECT_EQ(text.attributesAtIndex(15), NSTextAttributes{});

    text.setAttributes({}, 0, text.length());
    EXPECT_EQ(text.runs().size(), 1u);
    text.replaceCharactersInRange(0, 7, "Saved");
    EXPECT_EQ(text.string(), "Saved profile");
    EXPECT_EQ(text.length(), 13u);
}

TEST(TextLayoutLines, TabsStopAtTheStopsThenAtTheIntervalAndIndentsHold) {
    UIFont font = UIFont::systemFontOfSize(13);
    TextParagraphLayout layout;
    layout.tabStops = {15};
    layout.defaultTabInterval = 15;
    auto lines = TextLayout::layoutParagraph({{"\xE2\x80\xA2\tTap", font}}, 1000, layout);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_DOUBLE_EQ(lines[0].width, 15 + font.widthOfString("Tap"));
    double word = font.widthOfString("Brightness");
    lines = TextLayout::layoutParagraph({{"Brightness\tX", font}}, 1000, layout);
    EXPECT_DOUBLE_EQ(lines[0].width, (std::floor(word / 15) + 1) * 15 + font.widthOfString("X"));

    // Continuation lines start at the head indent; the first at its own indent.
    layout.firstLineHeadIndent = 3;
    layout.headIndent = 40;
    lines = TextLayout::layoutParagraph({{"one two three four five six", font}}, 70, layout);
    ASSERT_GT(lines.size(), 2u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_GT(lines[i].width, 40);
        EXPECT_LE(lines[i].width, 70);
    }
    // A word longer than a line is cut between characters rather than overflowing.
    lines = TextLayout::layoutParagraph({{"#CCCCCCCCCCCC", font}}, 30, TextParagraphLayout{});
    EXPECT_GT(lines.size(), 2u);
    for (const auto& line : lines) {
        EXPECT_LE(line.width, 30);
    }
    // Fragments in a larger font make their line taller.
    lines = TextLayout::layoutParagraph({{"a ", font}, {"b", font.fontWithSize(26)}}, 1000, {});
    EXPECT_DOUBLE_EQ(lines[0].height, font.fontWithSize(26).lineHeight());
}
