#include "color/HBColorSelectorController.h"

#include <gtest/gtest.h>

#include "ColorPageFixture.h"
#include "pages/HuebadgeListController.h"
#include "platform/system/MailAccount.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITextView.h"

namespace {

using ColorSelectorTest = ColorPageFixture;

TEST_F(ColorSelectorTest, TakesItsTitleFromTheOpeningRowAndHandsItToTheCell) {
    store().setObject(ColorPageFixture::records(4), "filtersEnabled");
    auto cell = open("Color Value 3");
    EXPECT_EQ(page->title(), "Color Value 3");
    PSSpecifierPtr row = page->specifiers().at(0);
    EXPECT_EQ(row->propertyForKey("key"), PlistValue("Color Value 3"));
    EXPECT_EQ(row->propertyForKey("preferColorPicker"), PlistValue::boolean(true));
    EXPECT_EQ(row->propertyForKey("PostNotification"),
              PlistValue("net.quorvel.huebadge/preferences"));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->key1(), "filtersEnabled");
    EXPECT_EQ(cell->postNotification(), "net.quorvel.huebadge/preferences");

    startOver();
    store().setObject(PlistValue::boolean(false), "preferColorPicker");
    open("Work");
    EXPECT_EQ(page->title(), "Work");
    EXPECT_EQ(page->specifiers().at(0)->propertyForKey("preferColorPicker"),
              PlistValue::boolean(false));
}

TEST_F(ColorSelectorTest, RowsAreTallAndUnbound) {
    open("Work");
    auto sections = host->visibleSections();
    ASSERT_EQ(sections.size(), 1u);
    ASSERT_EQ(sections[0].rows.size(), 1u);
    EXPECT_EQ(sections[0].rows[0].height, 695);
    EXPECT_EQ(page->heightForRowAtIndexPath(page->table(), NSIndexPath::indexPathForRow(4, 2)),
              695);
    PSSpecifierPtr row = page->specifiers().at(0);
    EXPECT_TRUE(page->readPreferenceValue(row).isAbsent());
    page->setPreferenceValue(PlistValue("#000000"), row);
    EXPECT_TRUE(store().objectForKey("Work").isAbsent());
}

TEST_F(ColorSelectorTest, FooterGivesTheHintsUnderTheCell) {
    open("Work");
    auto* footer = dynamic_cast<UITextView*>(page->table()->tableFooterView().get());
    ASSERT_TRUE(footer);
    EXPECT_EQ(
        footer->text(),
        "\u2022 Tap once on a color gradient to select a color.\n"
        "\u2022 Tap, hold and drag on a color gradient to scroll through different colors.\n"
        "\u2022 Tap once on a number value to bring up a keyboard and enter a value directly.\n"
        "\u2022 Tap once on the hex value to bring up a keyboard and enter a value directly.");
    EXPECT_EQ(footer->tag(), 64529);
    EXPECT_FALSE(footer->isEditable());
    EXPECT_FALSE(footer->isScrollEnabled());
    EXPECT_EQ(footer->textContainerInset(), (UIEdgeInsets{5, 5, 5, 5}));
    NSTextAttributes attributes = footer->attributedText().attributesAtIndex(0);
    ASSERT_TRUE(attributes.paragraphStyle);
    EXPECT_EQ(attributes.paragraphStyle->headIndent(), 14);
    EXPECT_EQ(attributes.paragraphStyle->firstLineHeadIndent(), 0);
    EXPECT_EQ(attributes.paragraphStyle->paragraphSpacing(), 1);
    EXPECT_EQ(attributes.font, UIFont::systemFontOfSize(16));
    EXPECT_EQ(attributes.foregroundColor, UIColor::darkGrayColor());
    double width = UIScreen::mainScreen().bounds().size.width;
    EXPECT_EQ(footer->frame().size.width, width);
    // Four hints of 16-point text, at least one of them wrapped at a phone's width.
    EXPECT_GT(footer->frame().size.height, 5 * 16);
    EXPECT_EQ(footer->frame().size.height, footer->sizeThatFits(CGSizeMake(width, 1e9)).height);

    startOver();
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    open("Work");
    footer = dynamic_cast<UITextView*>(page->table()->tableFooterView().get());
    EXPECT_EQ(footer->attributedText().attributesAtIndex(0).foregroundColor,
              UIColor::lightGrayColor());
}

TEST_F(ColorSelectorTest, AnAccountRowOpensItsColourAndShowsTheNewOneOnReturn) {
    PlistValue account = PlistValue::dictionary();
    account.set("displayName", "Office");
    account.set("primaryMailboxUniqueId", "mb-office");
    account.set("uniqueIdForPersistentConnection", "pc-office");
    TemporaryDeviceRoot::write(device.resolve(std::string(MailAccount::kAccountsPath)),
                               PropertyList::toXml(PlistValue(PlistValue::Array{account})).value());
    store().setObject(PlistValue::integer(100), "mailBoxAlphaLevel");
    auto root = std::make_shared<HuebadgeListController>();
    host = std::make_unique<HeadlessHost>(root);
    ASSERT_TRUE(host->tapRow(1, 0));
    ASSERT_EQ(host->depth(), 2u);
    EXPECT_EQ(host->topPage()->title(), "Office");
    auto cell = std::dynamic_pointer_cast<HBColorCell>(host->cellAt(0, 0));
    ASSERT_TRUE(cell);
    ColorPageFixture::drag(*cell->sliderG(), 0, TouchRelease::Inside);
    EXPECT_EQ(savedFile()["Office"], PlistValue("#FF00FF"));

    ASSERT_TRUE(host->goBack());
    EXPECT_EQ(host->visibleSections().at(1).rows.at(0).background, "#FF00FF");
}

}  // namespace
