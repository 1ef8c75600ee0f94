#include "color/HBSliderCell.h"

#include <gtest/gtest.h>

#include "host/HeadlessHost.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/UIViewController.h"
#include "store/HBPreferences.h"
#include "support/NotificationProbe.h"
#include "support/PlistPrint.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

class SliderCellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store().reLoadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification);
        host = std::make_unique<HeadlessHost>(std::make_shared<UIViewController>());
        row = PSSpecifier::preferenceSpecifierNamed(
            "Alpha Level", nullptr, PSSpecifier::SetPreferenceValue,
            PSSpecifier::ReadPreferenceValue, "", PSSliderCell, "");
        row->setProperty(PlistValue("alphaTest"), "key");
        row->setProperty(PlistValue(HBPreferences::kIdentifier), "defaults");
        row->setProperty(PlistValue::integer(0), "min");
        row->setProperty(PlistValue::integer(100), "max");
        row->setProperty(PlistValue("%"), "type");
        row->setProperty(PlistValue::integer(25), "default");
    }

    static HBPreferences& store() { return HBPreferences::sharedInstance(); }

    std::shared_ptr<HBSliderCell> makeCell() {
        return std::dynamic_pointer_cast<HBSliderCell>(
            PSCellClasses::create("HBSliderCell", UITableViewCellStyleValue1, "", row));
    }

    // The settings file as written, or absent before the first write.
    PlistValue written(std::string_view key) {
        auto file =
            PropertyList::readFile(HBPreferences::pathForIdentifier(HBPreferences::kIdentifier));
        return file ? file.value()[key] : PlistValue();
    }

    static void drag(HBSliderCell& cell, float value) { cell.slider()->userChangedValue(value); }
    static void release(HBSliderCell& cell) { cell.slider()->userEndedTracking(); }

    bool enter(HBSliderCell& cell, const std::string& text, const char* action = "Save") {
        cell.inputButton()->userTapped();
        return host->typeIntoAlert(0, text) && host->pressAlertAction(action);
    }

    TemporaryDeviceRoot device;
    std::unique_ptr<HeadlessHost> host;
    PSSpecifierPtr row;
};

TEST_F(SliderCellTest, ShowsTheStoredValueRoundedAndMovesTruncated) {
    struct Case {
        PlistValue stored;
        const char* shown;
        const char* afterMove;  // after a drag to the same position
    };
    const Case cases[] = {
        {PlistValue::real(37.6), "38", "37"},
        {PlistValue::real(36.5), "36", "36"},  // halves to even at creation
        {PlistValue::real(37.5), "38", "37"},
        {PlistValue("37"), "25", "25"},  // not a number: the row's default
        {PlistValue(PlistValue::Array{}), "25", "25"},
        {PlistValue::integer(150), "100", "100"},  // clamped by the slider
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        store().setObject(c.stored, "alphaTest");
        auto cell = makeCell();
        EXPECT_EQ(cell->valueField()->text(), c.shown);
        cell->sliderValueChangedAction(cell->slider());
        EXPECT_EQ(cell->valueField()->text(), c.afterMove);
        EXPECT_EQ(store().objectForKey("alphaTest"), c.stored) << "nothing stored before release";
    }
}

TEST_F(SliderCellTest, ReleaseStoresOneWholeNumberAndNotifies) {
    struct Case {
        float released;
        long long stored;
    };
    const Case cases[] = {{37.6f, 37}, {37.996f, 38}, {0.004f, 0}, {99.999f, 100}};
    NotificationProbe probe(HBPreferences::kNotification);
    ASSERT_TRUE(probe.observing());
    auto cell = makeCell();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.released);
        store().setObject(PlistValue::boolean(true), "profileSaved");
        drag(*cell, c.released - 10);
        drag(*cell, c.released);
        release(*cell);
        EXPECT_EQ(written("alphaTest"), PlistValue::integer(c.stored));
        EXPECT_EQ(written("profileSaved"), PlistValue::boolean(false));
        EXPECT_EQ(cell->valueField()->text(), std::to_string(c.stored));
        // The slider keeps its exact position; only the stored value is whole.
        EXPECT_FLOAT_EQ(cell->slider()->value(), c.released);
    }
    EXPECT_TRUE(probe.waitForDelivery());
}

TEST_F(SliderCellTest, DraggingWritesNothingUntilRelease) {
    auto cell = makeCell();
    NotificationProbe probe(HBPreferences::kNotification);
    drag(*cell, 10);
    drag(*cell, 60);
    EXPECT_EQ(cell->valueField()->text(), "60");
    EXPECT_TRUE(written("alphaTest").isAbsent());
    EXPECT_TRUE(probe.staysQuiet());
}

TEST_F(SliderCellTest, PromptNamesTheBoundsWithTheUnit) {
    auto cell = makeCell();
    ASSERT_TRUE(cell->inputButton()->userTapped());
    UIAlertController* alert = host->presentedAlert();
    ASSERT_TRUE(alert);
    EXPECT_FALSE(alert->alertTitle());
    EXPECT_EQ(alert->message(), "Please enter a value between\n0% and 100%");
    ASSERT_EQ(alert->textFields().size(), 1u);
    EXPECT_EQ(alert->textFields()[0]->placeholder(), "200");
    EXPECT_EQ(alert->textFields()[0]->keyboardType(), UIKeyboardTypeNumberPad);
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0]->title(), "Save");
    EXPECT_EQ(alert->actions()[1]->title(), "Cancel");
    ASSERT_TRUE(host->pressAlertAction("Cancel"));

    row->setProperty(PlistValue(), "type");
    row->setProperty(PlistValue::real(1.9), "min");
    row->setProperty(PlistValue::real(844.7), "max");
    auto plain = makeCell();
    plain->inputButton()->userTapped();
    ASSERT_TRUE(host->presentedAlert());
    EXPECT_EQ(host->presentedAlert()->message(), "Please enter a value between\n1 and 844");
}

TEST_F(SliderCellTest, TypedValuesAreKeptWithinTheBounds) {
    struct Case {
        const char* typed;
        long long stored;
    };
    row->setProperty(PlistValue::integer(10), "min");
    const Case cases[] = {{"150", 100}, {"42.7", 42}, {"abc", 10}, {"-5", 10}, {"1e40", 100}};
    auto cell = makeCell();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(enter(*cell, c.typed));
        EXPECT_EQ(written("alphaTest"), PlistValue::integer(c.stored));
        EXPECT_EQ(cell->valueField()->text(), std::to_string(c.stored));
    }
    ASSERT_TRUE(enter(*cell, "77", "Cancel"));
    EXPECT_EQ(written("alphaTest"), PlistValue::integer(100));
    EXPECT_FALSE(host->presentedAlert());
}

TEST_F(SliderCellTest, RowsWithoutDefaultsOrKeyNeverSave) {
    store().setObject(PlistValue::integer(80), "alphaTest");
    row->setProperty(PlistValue(), "defaults");
    auto cell = makeCell();
    EXPECT_EQ(cell->valueField()->text(), "25");
    drag(*cell, 50);
    release(*cell);
    EXPECT_TRUE(written("alphaTest").isAbsent());

    row->setProperty(PlistValue(HBPreferences::kIdentifier), "defaults");
    row->setProperty(PlistValue(), "key");
    auto keyless = makeCell();
    drag(*keyless, 50);
    release(*keyless);
    EXPECT_TRUE(written("profileSaved").isAbsent());

    auto bare = std::make_shared<HBSliderCell>(UITableViewCellStyleDefault, "", nullptr);
    bare->enableControls(false);
    EXPECT_EQ(bare->valueField()->text(), "0");
}

TEST_F(SliderCellTest, SwitchedOffRowsStillTakeATypedValue) {
    auto cell = makeCell();
    cell->enableControls(false);
    EXPECT_DOUBLE_EQ(cell->valueField()->alpha(), 0.5);
    EXPECT_FALSE(cell->titleLabel()->isEnabled());
    EXPECT_FALSE(cell->valueField()->isEnabled());
    EXPECT_FALSE(cell->slider()->isEnabled());
    drag(*cell, 70);
    EXPECT_EQ(cell->valueField()->text(), "25") << "a disabled slider ignores drags";

    // The button lies over the number, so a tap there reaches it.
    CGRect number = cell->valueField()->frame();
    CGPoint middle{number.origin.x + number.size.width / 2,
                   number.origin.y + number.size.height / 2};
    EXPECT_EQ(cell->contentView()->hitTest(middle), cell->inputButton());
    ASSERT_TRUE(enter(*cell, "64"));
    EXPECT_EQ(written("alphaTest"), PlistValue::integer(64));

    cell->enableControls(true);
    EXPECT_DOUBLE_EQ(cell->valueField()->alpha(), 1.0);
    EXPECT_TRUE(cell->slider()->isEnabled());
    EXPECT_TRUE(cell->titleLabel()->isEnabled());
}

TEST_F(SliderCellTest, FollowsTheAppearanceAtCreation) {
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    auto dark = makeCell();
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    EXPECT_EQ(HeadlessHost::describeColor(dark->titleLabel()->textColor()), "#FFFFFF");
    EXPECT_EQ(HeadlessHost::describeColor(*dark->backgroundColor()), "#000000");
    auto light = makeCell();
    EXPECT_EQ(HeadlessHost::describeColor(light->titleLabel()->textColor()), "#000000");
    EXPECT_EQ(light->titleLabel()->text(), "Alpha Level");
    row->setProperty(PlistValue("Opacity"), "name");
    EXPECT_EQ(makeCell()->titleLabel()->text(), "Opacity");
}

}  // namespace
