#include "color/HBColorCell.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "ColorPageFixture.h"
#include "color/HBColorPickerView.h"
#include "platform/foundation/SystemCalls.h"
#include "support/NotificationProbe.h"
#include "support/PlistPrint.h"

namespace {

class ColorCellTest : public ColorPageFixture {
  protected:
    // Counts the settings file's writes from here on.
    SystemCalls::ScopedFaultPlan writes{{}};
    static int writeCount() { return SystemCalls::callCount(SystemCalls::Kind::Rename); }
};

std::shared_ptr<HBColorCell> standaloneCell(PlistValue::Dictionary properties) {
    auto row = PSSpecifier::preferenceSpecifierNamed(
        "", nullptr, PSSpecifier::NoSetter, PSSpecifier::NoGetter, "", PSStaticTextCell, "");
    for (auto& [key, value] : properties) {
        row->setProperty(value, key);
    }
    return std::make_shared<HBColorCell>(UITableViewCellStyleDefault, "", row);
}

TEST_F(ColorCellTest, LaysOutAtItsWidthAndFollowsAWiderRow) {
    auto cell = standaloneCell({{"key", PlistValue("Work")}});
    ASSERT_EQ(cell->frame().size.width, 320);
    double third = 286.0 / 3;
    struct Expected {
        UIView* view;
        CGRect frame;
    } expected[] = {
        {cell->mailBoxColorField().get(), CGRectMake(15, 41, third, 38)},
        {cell->listColorField().get(), CGRectMake(17 + third, 41, third, 38)},
        {cell->messageColorField().get(), CGRectMake(19 + 2 * third, 41, third, 38)},
        {cell->titleR().get(), CGRectMake(15, 490, 200, 20)},
        {cell->valueR().get(), CGRectMake(245, 483, 60, 30)},
        {cell->buttonR().get(), CGRectMake(245, 483, 60, 30)},
        {cell->sliderR().get(), CGRectMake(15, 508, 290, 40)},
        {cell->titleG().get(), CGRectMake(15, 558, 200, 20)},
        {cell->buttonG().get(), CGRectMake(245, 551, 60, 30)},
        {cell->sliderG().get(), CGRectMake(15, 576, 290, 40)},
        {cell->titleB().get(), CGRectMake(15, 626, 200, 20)},
        {cell->valueB().get(), CGRectMake(245, 619, 60, 30)},
        {cell->sliderB().get(), CGRectMake(15, 644, 290, 40)},
        {cell->colorPickerView().get(), CGRectMake(0, 90, 320, 380)},
    };
    for (const auto& [view, frame] : expected) {
        EXPECT_NEAR(view->frame().origin.x, frame.origin.x, 1e-3) << view->className();
        EXPECT_EQ(view->frame().origin.y, frame.origin.y) << view->className();
        EXPECT_NEAR(view->frame().size.width, frame.size.width, 1e-3) << view->className();
        EXPECT_EQ(view->frame().size.height, frame.size.height) << view->className();
    }
    CGRect hex = cell->hexColorField()->frame();
    EXPECT_EQ(hex.origin.y, 10);
    EXPECT_DOUBLE_EQ(hex.origin.x + hex.size.width / 2, 160);
    EXPECT_EQ(cell->hexButton()->frame(), hex);

    cell->setFrame(CGRectMake(0, 0, 390, 695));
    EXPECT_EQ(cell->colorPickerView()->frame(), CGRectMake(0, 90, 390, 380));
    hex = cell->hexColorField()->frame();
    EXPECT_DOUBLE_EQ(hex.origin.x + hex.size.width / 2, 195);
    for (UISlider* slider : {cell->sliderR().get(), cell->sliderG().get(), cell->sliderB().get()}) {
        EXPECT_GT(slider->frame().size.width, 290);
        EXPECT_LT(CGRectGetMaxX(slider->frame()), 390);
    }
    EXPECT_LT(CGRectGetMaxX(cell->valueR()->frame()), 390);
    EXPECT_GT(cell->valueR()->frame().origin.x, 245);
}

TEST_F(ColorCellTest, EachKindOfKeyHasItsPreviewsAndItsPlaceInTheFile) {
    struct Case {
        const char* key;
        bool alphaLevelsSet;
        bool accountSettings;
        HBPreviewOpacities opacities;
        const char* list;  // null: a top-level setting named by the key
        int index;
    } cases[] = {
        {"Color Value 3", false, false, {0, 1, 1}, "filtersEnabled", 3},
        {"Color Value 3", true, false, {0, 0.7f, 0.8f}, "filtersEnabled", 3},
        {"Color Value 1", true, true, {0.4f, 0.5f, 0.6f}, "filtersEnabled", 1},
        {"Color Value F1 2", false, false, {0.25f, 0, 0}, "filtersFolders1Enabled", 2},
        {"Color Value F1 2", true, false, {0.4f, 0, 0}, "filtersFolders1Enabled", 2},
        {"Color Value F2 0", false, false, {0, 0.25f, 0}, "filtersFolders2Enabled", 0},
        {"Color Value F2 0", true, false, {0, 0.7f, 0}, "filtersFolders2Enabled", 0},
        {"Work", false, false, {0.25f, 0.25f, 0.25f}, nullptr, 0},
        {"Work", true, true, {0.4f, 0.5f, 0.6f}, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        startOver();
        for (const char* list :
             {"filtersEnabled", "filtersFolders1Enabled", "filtersFolders2Enabled"}) {
            store().setObject(records(4), list);
        }
        store().setObject(PlistValue("#000000"), "Work");
        if (c.alphaLevelsSet) {
            store().setObject(PlistValue::integer(40), "mailBoxAlphaLevel");
            store().setObject(PlistValue::integer(50), "listAlphaLevel");
            store().setObject(PlistValue::integer(60), "messageAlphaLevel");
            store().setObject(PlistValue::integer(70), "listAlphaLevelFilters");
            store().setObject(PlistValue::integer(80), "messageAlphaLevelFilters");
        }
        store().setObject(PlistValue::boolean(c.accountSettings),
                          "useAccountSettingsForListFilters");
        auto cell = open(c.key);
        ASSERT_TRUE(cell);
        EXPECT_EQ((HBPreviewOpacities{cell->mailBoxAlphaLevel(), cell->listAlphaLevel(),
                                      cell->messageAlphaLevel()}),
                  c.opacities);
        EXPECT_FLOAT_EQ(cell->mailBoxColorField()->backgroundColor()->alpha(), c.opacities.mailBox);

        drag(*cell->sliderR(), 255, TouchRelease::Inside);
        PlistValue file = savedFile();
        EXPECT_EQ(file["profileSaved"], PlistValue::boolean(false));
        if (c.list) {
            EXPECT_EQ(file[c.list][static_cast<std::size_t>(c.index)]["hexColor"],
                      PlistValue("#FF0000"));
            EXPECT_EQ(file[c.list].count(), 4u);
            EXPECT_EQ(file[c.list][static_cast<std::size_t>(c.index == 0 ? 1 : 0)]["hexColor"],
                      PlistValue("#000000"));
            EXPECT_TRUE(file[c.key].isAbsent());
        } else {
            EXPECT_EQ(file[c.key], PlistValue("#FF0000"));
        }
    }
}

TEST_F(ColorCellTest, ShowsStoredTextAsItIsAndWritesNothingUntilMoved) {
    store().setObject(PlistValue("abc"), "Work");
    auto cell = open("Work");
    EXPECT_EQ(cell->hexColorField()->text(), "#ABC");
    EXPECT_EQ(cell->sliderR()->value(), 0);
    EXPECT_EQ(cell->sliderG()->value(), 10);
    EXPECT_EQ(cell->sliderB()->value(), 188);
    EXPECT_EQ(cell->valueG()->text(), "10");
    EXPECT_EQ(cell->valueB()->text(), "188");
    host.reset();
    page.reset();
    cell.reset();
    EXPECT_EQ(writeCount(), 0);
}

TEST_F(ColorCellTest, SlidersPreviewLiveAndSaveOncePerRelease) {
    NotificationProbe posted(HBPreferences::kNotification);
    auto cell = open("Work");
    UISlider& red = *cell->sliderR();
    red.userChangedValue(100.7f);
    red.userChangedValue(200.9f);
    EXPECT_EQ(cell->valueR()->text(), "200");
    EXPECT_EQ(cell->hexColorField()->text(), "#C8FFFF");
    EXPECT_EQ(cell->listColorField()->backgroundColor(),
              UIColor::colorWithRed(200 / 255.0, 1, 1, 0.25));
    EXPECT_DOUBLE_EQ(cell->colorPickerView()->currentSaturation(), 55 / 255.0);
    EXPECT_EQ(writeCount(), 0);

    red.userEndedTracking(TouchRelease::Inside);
    EXPECT_EQ(writeCount(), 1);
    EXPECT_EQ(savedFile()["Work"], PlistValue("#C8FFFF"));
    EXPECT_TRUE(posted.waitForDelivery());

    drag(*cell->sliderB(), 0, TouchRelease::Outside);
    EXPECT_EQ(writeCount(), 2);
    EXPECT_EQ(savedFile()["Work"], PlistValue("#C8FF00"));
    // Black text reads better on the light yellow of a quarter opacity.
    EXPECT_EQ(cell->messageColorField()->textColor(), UIColor::blackColor());
}

TEST_F(ColorCellTest, PickerMovesTheSlidersLiveAndSavesWhenItsTouchEnds) {
    auto cell = open("Work");
    HBColorPickerView& picker = *cell->colorPickerView();
    picker.colorsHaveChangedBlock()(UIColor::colorWithRed(0.5, 0.1, 1, 1));
    EXPECT_EQ(cell->sliderR()->value(), 128);
    EXPECT_EQ(cell->valueG()->text(), "26");
    EXPECT_EQ(cell->hexColorField()->text(), "#801AFF");
    EXPECT_EQ(writeCount(), 0);
    picker.saveChangesBlock()(UIColor::blackColor());
    EXPECT_EQ(writeCount(), 1);
    EXPECT_EQ(savedFile()["Work"], PlistValue("#801AFF"));

    // A drag on the field: live while the finger moves, one save when it lifts.
    UIButton& field = *picker.fieldTouchEater();
    CGRect bounds = field.bounds();
    ASSERT_TRUE(field.userTouchDown(CGPointMake(bounds.size.width / 2, bounds.size.height / 2)));
    field.userTouchMoved(CGPointMake(bounds.size.width / 4, bounds.size.height / 4));
    field.userTouchMoved(CGPointMake(bounds.size.width - 1, 1));
    std::string dragged = cell->hexColorField()->text();
    EXPECT_NE(dragged, "#801AFF");
    EXPECT_EQ(cell->valueR()->text(),
              fmt::format("{}", static_cast<int>(cell->sliderR()->value())));
    EXPECT_EQ(writeCount(), 1);
    field.userTouchUp(CGPointMake(bounds.size.width - 1, 1));
    EXPECT_EQ(writeCount(), 2);
    EXPECT_EQ(savedFile()["Work"], PlistValue(dragged));
}

TEST_F(ColorCellTest, PromptsAskWithTheirTextsAndStoreTheTypedValue) {
    store().setObject(PlistValue("#102030"), "Work");
    auto cell = open("Work");
    cell->askUserForInputR();
    UIAlertController* alert = host->presentedAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->alertTitle(), std::nullopt);
    EXPECT_EQ(alert->message(), "Please enter a value for Red between\n0 and 255");
    EXPECT_EQ(alert->textFields().at(0)->placeholder(), "200");
    EXPECT_EQ(alert->textFields().at(0)->keyboardType(), UIKeyboardTypeNumberPad);
    EXPECT_EQ(alert->actions().at(0)->title(), "Save");
    EXPECT_EQ(alert->actions().at(1)->title(), "Cancel");
    ASSERT_TRUE(host->typeIntoAlert(0, "300"));
    ASSERT_TRUE(host->pressAlertAction("Save"));
    EXPECT_EQ(savedFile()["Work"], PlistValue("#FF2030"));
    EXPECT_EQ(cell->valueR()->text(), "255");

    cell->askUserForInputG();
    host->typeIntoAlert(0, "12.9");
    host->pressAlertAction("Cancel");
    EXPECT_EQ(writeCount(), 1);
    cell->askUserForInputG();
    host->typeIntoAlert(0, "12.9");
    host->pressAlertAction("Save");
    EXPECT_EQ(savedFile()["Work"], PlistValue("#FF0C30"));

    cell->askUserForInputHex();
    alert = host->presentedAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(),
              "Please enter a hex value between\n#000000 and #FFFFFF\nCurrent value is: #FF0C30");
    EXPECT_EQ(alert->textFields().at(0)->placeholder(), "#FFFFFF");
    EXPECT_EQ(alert->textFields().at(0)->keyboardType(), UIKeyboardTypeDefault);
    host->typeIntoAlert(0, "zz");
    host->pressAlertAction("Save");
    EXPECT_EQ(savedFile()["Work"], PlistValue("#FFFFFF"));
    EXPECT_EQ(cell->valueB()->text(), "255");
    EXPECT_EQ(writeCount(), 3);
}

TEST_F(ColorCellTest, ChannelPromptsShowTheRowsUnitAfterEachBound) {
    open("Work");  // a key window to present on
    auto cell = standaloneCell({{"key", PlistValue("Work")},
                                {"min", PlistValue::integer(10)},
                                {"max", PlistValue::real(200.9)},
                                {"type", PlistValue("pt")}});
    cell->askUserForInputB();
    ASSERT_TRUE(host->presentedAlert());
    EXPECT_EQ(host->presentedAlert()->message(),
              "Please enter a value for Blue between\n10pt and 200pt");
    // Without "defaults" the cell edits but never saves.
    host->typeIntoAlert(0, "50");
    host->pressAlertAction("Save");
    EXPECT_EQ(cell->sliderB()->value(), 50);
    EXPECT_EQ(writeCount(), 0);
}

TEST_F(ColorCellTest, PickerKindFollowsTheStoredChoice) {
    const std::pair<PlistValue, const char*> cases[] = {
        {PlistValue(), "HBColorPickerView_H"},
        {PlistValue::integer(1), "HBColorPickerView_S"},
        {PlistValue::integer(2), "HBColorPickerView_B"},
        {PlistValue::integer(7), "HBColorPickerView_H"}};
    for (const auto& [type, kind] : cases) {
        startOver();
        store().setObject(type, "colorPickerType");
        EXPECT_EQ(open("Work")->colorPickerView()->className(), kind);
    }
}

TEST_F(ColorCellTest, ColoursWithoutASafePlaceAreShownReadOnly) {
    struct Case {
        const char* key;
        const char* storedKey;
        PlistValue stored;
    } cases[] = {
        {"Color Value 2", "filtersEnabled", records(2)},
        {"Color Value -1", "filtersEnabled", records(2)},
        {"Color Value 0", "filtersEnabled", PlistValue::Array{PlistValue("#123456")}},
        {"Color Value F1 0", "filtersFolders1Enabled", PlistValue("#123456")},
        {"Color Value F2 0", "filtersFolders1Enabled", records(1)},
        {"profileSaved", "profileSaved", PlistValue::boolean(true)},
        {"profileName", "profileName", PlistValue("Evening")},
        {"useEmailFilters", "useEmailFilters", PlistValue()},
        {"Work", "Work", PlistValue::integer(5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        startOver();
        store().setObject(c.stored, c.storedKey);
        auto cell = open(c.key);
        EXPECT_FALSE(cell->isEditable());
        EXPECT_EQ(cell->hexColorField()->text(), "#FFFFFF");
        EXPECT_FALSE(cell->sliderR()->isEnabled());
        EXPECT_FALSE(cell->hexButton()->isEnabled());
        EXPECT_FALSE(cell->colorPickerView()->isUserInteractionEnabled());
        cell->sliderTouchUpInsideOutsideAction(cell->sliderR().get());
        cell->colorPickerView()->saveChangesBlock()(UIColor::blackColor());
        EXPECT_EQ(writeCount(), 0);
        EXPECT_EQ(store().objectForKey(c.storedKey), c.stored);
    }
}

TEST_F(ColorCellTest, ARecordWithoutAStringColourShowsTheDefaultAndTakesANewOne) {
    PlistValue list = records(1);
    list.mutableArray()[0].set("hexColor", PlistValue::integer(5));
    store().setObject(list, "filtersEnabled");
    auto cell = open("Color Value 0");
    EXPECT_TRUE(cell->isEditable());
    EXPECT_EQ(cell->hexColorField()->text(), "#FFFFFF");
    drag(*cell->sliderG(), 0, TouchRelease::Inside);
    EXPECT_EQ(savedFile()["filtersEnabled"][0]["hexColor"], PlistValue("#FF00FF"));
}

}  // namespace
