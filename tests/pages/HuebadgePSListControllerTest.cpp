#include "kit/HuebadgePSListController.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/HeadlessHost.h"
#include "kit/HBEditTextCell.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/prefs/PSClasses.h"
#include "platform/prefs/PSListItemsController.h"
#include "platform/prefs/PSSwitchTableCell.h"
#include "store/HBPreferences.h"
#include "support/Golden.h"
#include "support/NotificationProbe.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

namespace fs = std::filesystem;

// A page of the kind every pane page is: it only loads its description.
class TestBoundController : public HuebadgePSListController {
  public:
    explicit TestBoundController(std::string description) : description_(std::move(description)) {
        registerAction("run", [this](PSSpecifier&) { ++runs; });
    }
    const std::vector<PSSpecifierPtr>& specifiers() override {
        if (!_specifiers) {
            _specifiers = loadSpecifiersFromPlistName(description_, this);
        }
        return *_specifiers;
    }
    int runs = 0;

  private:
    std::string description_;
};

const bool registered = PSControllerClasses::registerClass(
    "TestOtherController", [] { return std::make_shared<TestBoundController>("TestOther"); });

PlistValue row(PlistValue::Dictionary entries) {
    return PlistValue(std::move(entries));
}

PlistValue bound() {
    PlistValue::Array items = {
        row({{"cell", "PSGroupCell"}, {"label", "General"}, {"footerText", "Stored at once"}}),
        row({{"cell", "PSSwitchCell"},
             {"label", "Enabled"},
             {"key", "enabled"},
             {"default", PlistValue::boolean(true)}}),
        row({{"cell", "PSLinkListCell"},
             {"label", "Match"},
             {"key", "matchType"},
             {"default", PlistValue::integer(0)},
             {"validValues", PlistValue::Array{PlistValue::integer(0), PlistValue::integer(1)}},
             {"validTitles", PlistValue::Array{"OR", "AND"}}}),
        row({{"cell", "PSEditTextCell"},
             {"label", "Name"},
             {"key", "filterName"},
             {"cellClass", "HBEditTextCell"}}),
        row({{"cell", "PSTitleValueCell"}, {"label", "Width"}, {"key", "width"}}),
        row({{"cell", "PSLinkCell"}, {"label", "Other"}, {"detail", "TestOtherController"}}),
        row({{"cell", "PSLinkCell"}, {"label", "Nowhere"}, {"detail", "TestMissingController"}}),
        row({{"cell", "PSGroupCell"}, {"label", "Actions"}}),
        row({{"cell", "PSButtonCell"},
             {"label", "Run"},
             {"action", "run"},
             {"height", PlistValue::integer(60)}}),
    };
    PlistValue root = PlistValue::dictionary();
    root.set("title", "Bound");
    root.set("items", PlistValue(std::move(items)));
    return root;
}

PlistValue other() {
    PlistValue root = PlistValue::dictionary();
    root.set("items", PlistValue(PlistValue::Array{row(
                          {{"cell", "PSSwitchCell"}, {"label", "Enabled"}, {"key", "enabled"}})}));
    return root;
}

class BoundPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resources_ = device_.path() / "resources";
        fs::create_directories(resources_);
        write("TestBound", bound());
        write("TestOther", other());
        PSBundle::setResourcesDirectory(resources_.string());
        HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                             HBPreferences::kNotification);
        page_ = std::make_shared<TestBoundController>("TestBound");
        host_ = std::make_unique<HeadlessHost>(page_);
    }

    void write(const std::string& name, const PlistValue& description) {
        Result<std::string> xml = PropertyList::toXml(description);
        ASSERT_TRUE(xml);
        std::ofstream(resources_ / (name + ".plist")) << xml.value();
    }

    PlistValue settingsFile() {
        auto file = PropertyList::readFile(
            device_.resolve("/var/mobile/Library/Preferences/net.quorvel.huebadge.plist"));
        return file ? file.value() : PlistValue();
    }

    PlistValue stored(std::string_view key) {
        return HBPreferences::sharedInstance().objectForKey(key);
    }

    TemporaryDeviceRoot device_;
    fs::path resources_;
    std::shared_ptr<TestBoundController> page_;
    std::unique_ptr<HeadlessHost> host_;
};

TEST_F(BoundPageTest, FirstShowMatchesGolden) {
    expectMatchesGolden("pages/bound-page.txt", host_->dump());
}

TEST_F(BoundPageTest, AChangeWritesTheWholeFileAndNotifiesOnce) {
    NotificationProbe probe(HBPreferences::kNotification);
    ASSERT_TRUE(probe.observing());
    HBPreferences::sharedInstance().setObject("kept", "earlier");
    auto cell = std::dynamic_pointer_cast<PSSwitchTableCell>(host_->cellAt(0, 0));
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->control()->isOn());
    cell->control()->userToggled();

    PlistValue file = settingsFile();
    ASSERT_TRUE(file.isDictionary());
    EXPECT_EQ(file.count(), 4u);
    EXPECT_EQ(file["enabled"], PlistValue::boolean(false));
    EXPECT_EQ(file["profileSaved"], PlistValue::boolean(false));
    EXPECT_EQ(file["earlier"], PlistValue("kept"));
    EXPECT_TRUE(file["lastModified"].isString());
    EXPECT_TRUE(probe.waitForDelivery());
    probe.reset();
    EXPECT_TRUE(probe.staysQuiet());
}

TEST_F(BoundPageTest, RowsWithoutStoredValueOrDefaultShowNothing) {
    EXPECT_TRUE(page_->readPreferenceValue(page_->specifiers()[4]).isAbsent());
    EXPECT_EQ(host_->visibleSections()[0].rows[3].detail, "");
    HBPreferences::sharedInstance().setObject(PlistValue::integer(120), "width");
    page_->viewWillAppear(false);
    EXPECT_EQ(host_->visibleSections()[0].rows[3].detail, "120");
}

TEST_F(BoundPageTest, AChangeOnAnotherPageShowsWhenComingBack) {
    std::dynamic_pointer_cast<PSSwitchTableCell>(host_->cellAt(0, 0))->control()->userToggled();
    ASSERT_TRUE(host_->tapRow(0, 4));
    ASSERT_EQ(host_->depth(), 2u);
    auto* pushed = dynamic_cast<PSViewController*>(host_->topPage());
    ASSERT_TRUE(pushed);
    ASSERT_TRUE(pushed->specifier());
    EXPECT_EQ(pushed->specifier()->name(), "Other");
    EXPECT_EQ(pushed->parentController(), page_.get());
    EXPECT_EQ(pushed->rootController(), &host_->navigation());
    EXPECT_EQ(host_->visibleSections()[0].rows[0].accessory, "switch off");

    auto cell = std::dynamic_pointer_cast<PSSwitchTableCell>(host_->cellAt(0, 0));
    ASSERT_TRUE(cell);
    cell->control()->userToggled();
    ASSERT_TRUE(host_->goBack());
    EXPECT_EQ(host_->visibleSections()[0].rows[0].accessory, "switch on");
}

TEST_F(BoundPageTest, ChoicePageMovesItsCheckMarkAndStores) {
    ASSERT_TRUE(host_->tapRow(0, 1));
    ASSERT_EQ(host_->depth(), 2u);
    ASSERT_TRUE(dynamic_cast<PSListItemsController*>(host_->topPage()));
    auto rows = host_->visibleSections().at(0).rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].accessory, "checkmark");
    EXPECT_EQ(rows[1].accessory, "");

    ASSERT_TRUE(host_->tapRow(0, 1));
    EXPECT_EQ(host_->depth(), 2u);
    rows = host_->visibleSections().at(0).rows;
    EXPECT_EQ(rows[0].accessory, "");
    EXPECT_EQ(rows[1].accessory, "checkmark");
    EXPECT_EQ(stored("matchType"), PlistValue::integer(1));
    EXPECT_EQ(settingsFile()["matchType"], PlistValue::integer(1));

    ASSERT_TRUE(host_->goBack());
    EXPECT_EQ(host_->visibleSections()[0].rows[1].detail, "AND");
}

TEST_F(BoundPageTest, TextRowStoresWhenEditingEnds) {
    auto cell = std::dynamic_pointer_cast<HBEditTextCell>(host_->cellAt(0, 2));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->textField()->returnKeyType(), UIReturnKeyDone);
    ASSERT_TRUE(cell->textField()->userTyped("Work"));
    EXPECT_TRUE(stored("filterName").isAbsent());
    cell->textField()->userPressedReturn();
    EXPECT_EQ(stored("filterName"), PlistValue("Work"));
    EXPECT_FALSE(cell->textField()->isEditing());
}

TEST_F(BoundPageTest, LinksToMissingPagesOpenNothingAndButtonsRunTheirAction) {
    host_->tapRow(0, 5);
    EXPECT_EQ(host_->depth(), 1u);
    host_->tapRow(1, 0);
    EXPECT_EQ(page_->runs, 1);
    EXPECT_EQ(host_->depth(), 1u);
}

TEST_F(BoundPageTest, SwitchesTakeTheNavigationBarTint) {
    host_->navigation().navigationBar().setTintColor(UIColor::colorWithRed(1, 0, 0, 1));
    page_->reload();
    auto cell = std::dynamic_pointer_cast<PSSwitchTableCell>(host_->cellAt(0, 0));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->control()->onTintColor(), UIColor::colorWithRed(1, 0, 0, 1));
    EXPECT_TRUE(cell->textLabel()->adjustsFontSizeToFitWidth());
}

}  // namespace
