#include "host/browser/PaneScreenSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "host/browser/ImageCache.h"
#include "host/browser/SoundFiles.h"
#include "kit/HuebadgePSListController.h"
#include "kit/HuebadgePSViewController.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/prefs/PSClasses.h"
#include "platform/system/AudioServices.h"
#include "platform/ui/ColorText.h"
#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIDocumentInteractionController.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIScreen.h"
#include "store/HBPreferences.h"
#include "store/HBUndoHistory.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char* kSharedPath = "/var/mobile/Library/Preferences/shared.plist";

// A settings page of bound rows, described by a resource list like every pane page.
class ListPage : public HuebadgePSListController {
  public:
    ListPage() {
        registerAction("help", [](PSSpecifier&) {
            UIApplication::sharedApplication().openURL(
                *NSURL::URLWithString("https://example.invalid/help"));
        });
    }
    const std::vector<PSSpecifierPtr>& specifiers() override {
        if (!_specifiers) {
            _specifiers = loadSpecifiersFromPlistName("ScreenList", this);
        }
        return *_specifiers;
    }
};

// A picture that draws itself and counts its drawings.
class SwatchView : public UIView {
  public:
    using UIView::UIView;
    std::string className() const override { return "SwatchView"; }
    bool drawsItself() const override { return true; }
    void drawRect(CGRect) override { ++drawings; }
    int drawings = 0;
};

// A page drawn in code: a table whose one row asks for a name in an alert, a button that
// counts in a label after a main-queue hop, a self-drawn swatch, and a long press that
// shares a file or says that there is none.
class AlertPage : public HuebadgePSViewController {
  public:
    std::string name = "none";
    std::shared_ptr<SwatchView> swatch = std::make_shared<SwatchView>(CGRectMake(0, 300, 40, 40));
    std::shared_ptr<UILabel> label = std::make_shared<UILabel>(CGRectMake(0, 350, 100, 20));
    std::shared_ptr<UIButton> button = std::make_shared<UIButton>(CGRectMake(0, 380, 80, 30));
    std::shared_ptr<UIDocumentInteractionController> share;
    int presses = 0;

    void loadView() override {
        auto root = std::make_shared<UIView>(UIScreen::mainScreen().bounds());
        table_ = std::make_shared<UITableView>(CGRectMake(0, 0, 390, 200), UITableViewStylePlain);
        table_->setDataSource(this);
        table_->setDelegate(this);
        table_->addGestureRecognizer(
            std::make_shared<UILongPressGestureRecognizer>([this](UIGestureRecognizer* press) {
                if (press->state() == UIGestureRecognizerStateBegan) {
                    offerFile();
                }
            }));
        button->setTitle("Count", UIControlStateNormal);
        button->addTarget([this](UIControl*, const UIEvent&) { countLater(); },
                          UIControlEventTouchUpInside);
        for (const UIViewPtr& view :
             std::initializer_list<UIViewPtr>{table_, swatch, label, button}) {
            root->addSubview(view);
        }
        setView(root);
    }
    long numberOfRowsInSection(UITableView*, long) override { return 1; }
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override {
        UITableViewCellPtr cell =
            HuebadgePSViewController::cellForRowAtIndexPath(tableView, indexPath);
        cell->textLabel()->setText("Name: " + name);
        bool dark = UITraitCollection::current().userInterfaceStyle == UIUserInterfaceStyleDark;
        cell->textLabel()->setTextColor(dark ? UIColor::whiteColor() : UIColor::blackColor());
        return cell;
    }
    void didSelectRowAtIndexPath(UITableView*, const NSIndexPath&) override { askForName(); }

  private:
    void askForName() {
        auto alert = UIAlertController::alertControllerWithTitle("Rename", "Type a name",
                                                                 UIAlertControllerStyleAlert);
        alert->addTextFieldWithConfigurationHandler(
            [](UITextField* field) { field->setPlaceholder("Name"); });
        std::weak_ptr<UIAlertController> weak = alert;
        alert->addAction(UIAlertAction::actionWithTitle(
            "Save", UIAlertActionStyleDefault, [this, weak](UIAlertAction*) {
                name = weak.lock()->textFields()[0]->text();
                table_->reloadData();
            }));
        alert->addAction(
            UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleCancel, nullptr));
        presentViewController(alert, true);
    }
    void countLater() {
        std::weak_ptr<UIViewController> weak = weak_from_this();
        RunLoop::main().post([weak] {
            if (auto page = std::static_pointer_cast<AlertPage>(weak.lock())) {
                page->label->setText(std::to_string(++page->presses));
            }
        });
    }
    void offerFile() {
        share = UIDocumentInteractionController::interactionControllerWithURL(
            NSURL::fileURLWithPath(kSharedPath));
        if (!share->presentOptionsMenuFromRect(CGRectMake(0, 0, 1, 1), view().get(), true)) {
            auto alert = UIAlertController::alertControllerWithTitle("No file", std::nullopt,
                                                                     UIAlertControllerStyleAlert);
            alert->addAction(
                UIAlertAction::actionWithTitle("OK", UIAlertActionStyleCancel, nullptr));
            presentViewController(alert, true);
        }
    }

    std::shared_ptr<UITableView> table_;
};

const bool registered = PSControllerClasses::registerClass(
                            "ScreenListPage", [] { return std::make_shared<ListPage>(); }) &&
                        PSControllerClasses::registerClass(
                            "ScreenAlertPage", [] { return std::make_shared<AlertPage>(); });

PlistValue row(PlistValue::Dictionary entries) {
    return PlistValue(std::move(entries));
}

PlistValue listDescription() {
    PlistValue::Array items = {
        row({{"cell", "PSGroupCell"}, {"label", "General"}, {"footerText", "Saved at once"}}),
        row({{"cell", "PSSwitchCell"},
             {"label", "Enabled"},
             {"key", "enabled"},
             {"default", PlistValue::boolean(true)}}),
        row({{"cell", "PSSliderCell"},
             {"key", "alpha"},
             {"min", PlistValue::integer(0)},
             {"max", PlistValue::integer(100)},
             {"default", PlistValue::integer(25)}}),
        row({{"cell", "PSEditTextCell"}, {"label", "Name"}, {"key", "name"}}),
        row({{"cell", "PSLinkCell"}, {"label", "Rename"}, {"detail", "ScreenAlertPage"}}),
        row({{"cell", "PSButtonCell"}, {"label", "Help"}, {"action", "help"}}),
    };
    PlistValue root = PlistValue::dictionary();
    root.set("title", "Screen Test");
    root.set("items", PlistValue(std::move(items)));
    return root;
}

class PaneScreenSourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(registered);
        fs::path resources = device_.path() / "resources";
        fs::create_directories(resources);
        std::ofstream(resources / "ScreenList.plist")
            << PropertyList::toXml(listDescription()).value();
        PSBundle::setResourcesDirectory(resources.string());
        HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                             HBPreferences::kNotification);
        RunLoop::main().cancelAll();
    }
    void TearDown() override {
        source_.reset();
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
        UIScreen::mainScreen().setBounds(CGRectMake(0, 0, 390, 844));
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
        RunLoop::main().cancelAll();
    }

    void start(const char* page, ScreenOptions options = {}) {
        source_ = PaneScreenSource::start(options, page);
        ASSERT_TRUE(source_);
    }
    Status send(json event) { return source_->handleEvent(event); }
    // The rows of the page's table: the page's view, or its first subview that is a table.
    json rows(std::size_t section = 0) {
        json page = source_->screen()["page"];
        if (page["type"] != "UITableView") {
            page = page["subviews"][0];
        }
        return page["sections"][section]["rows"];
    }
    // The first view of a type among a row's views.
    json rowView(std::size_t index, const std::string& type) {
        json shown = rows();
        for (const json& view : shown[index]["views"]) {
            if (view["type"] == type) {
                return view;
            }
        }
        return nullptr;
    }
    AlertPage& alertPage() { return dynamic_cast<AlertPage&>(*source_->host().topPage()); }
    json alertSubview(const std::string& type) {
        json shown = source_->screen();
        for (const json& view : shown["page"]["subviews"]) {
            if (view["type"] == type) {
                return view;
            }
        }
        return nullptr;
    }

    TemporaryDeviceRoot device_;
    std::unique_ptr<PaneScreenSource> source_;
};

TEST_F(PaneScreenSourceTest, AListPageShowsItsRowsAndTheirControls) {
    start("ScreenListPage", ScreenOptions{"dark", 400, 700});
    json screen = source_->screen();
    EXPECT_EQ(screen["navigation"],
              json({{"title", "Screen Test"}, {"back", nullptr}, {"depth", 1}}));
    EXPECT_EQ(screen["appearance"], "dark");
    EXPECT_EQ(screen["screen"], json({{"width", 400},
                                      {"height", 700},
                                      {"statusBarHeight", 44},
                                      {"navigationBarHeight", 44}}));
    EXPECT_EQ(screen["alert"], nullptr);
    const json& page = screen["page"];
    EXPECT_EQ(page["type"], "UITableView");
    EXPECT_EQ(page["frame"], json({0, 0, 400, 700}));
    const json& section = page["sections"][0];
    EXPECT_EQ(section["header"], "General");
    EXPECT_EQ(section["footer"], "Saved at once");
    EXPECT_TRUE(section["headerHeight"].is_number());

    std::vector<std::string> texts;
    for (const json& shown : section["rows"]) {
        texts.push_back(shown["text"]);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Enabled", "", "Name", "Rename", "Help"}));
    json link = section["rows"][3];
    EXPECT_EQ(link["accessory"], "disclosureIndicator");
    EXPECT_EQ(link["editingStyle"], "none");
    EXPECT_EQ(link["views"], json::array());
    EXPECT_GT(link["height"].get<double>(), 0);

    // The switch sits at the right end of its row, framed in the cell.
    json toggle = rowView(0, "UISwitch");
    ASSERT_TRUE(toggle.is_object());
    EXPECT_EQ(toggle["on"], true);
    EXPECT_GT(toggle["frame"][0].get<double>(), 300);
    EXPECT_EQ(rows()[0]["accessory"], "none");
    json slider = rowView(1, "UISlider");
    ASSERT_TRUE(slider.is_object());
    EXPECT_EQ(slider["value"], 25);
    EXPECT_EQ(slider["min"], 0);
    EXPECT_EQ(slider["max"], 100);
    json field = rowView(2, "UITextField");
    ASSERT_TRUE(field.is_object());
    EXPECT_EQ(field["keyboardType"], "default");
    EXPECT_TRUE(ColorText::parse(field["textColor"].get<std::string>()));
}

TEST_F(PaneScreenSourceTest, IdentifiersAreUniqueAndLastAsLongAsTheirViews) {
    start("ScreenAlertPage");
    std::set<std::string> seen;
    std::function<void(const json&)> collect = [&](const json& node) {
        if (node.contains("id")) {
            EXPECT_TRUE(seen.insert(node["id"].get<std::string>()).second) << node["id"];
        }
        for (const char* children : {"subviews", "sections", "rows", "views"}) {
            if (node.contains(children)) {
                for (const json& child : node[children]) {
                    collect(child);
                }
            }
        }
    };
    json first = source_->screen();
    collect(first["page"]);
    EXPECT_GE(seen.size(), 5u);

    ASSERT_TRUE(send({{"type", "appearance"}, {"value", "dark"}}));
    json again = source_->screen();
    EXPECT_EQ(again["page"]["id"], first["page"]["id"]);
    EXPECT_EQ(alertSubview("UIButton")["id"], first["page"]["subviews"][3]["id"]);
}

TEST_F(PaneScreenSourceTest, AnotherVisitToAPageGivesItsViewsNewIdentifiers) {
    start("ScreenListPage");
    ASSERT_TRUE(send({{"type", "tapRow"}, {"section", 0}, {"row", 3}}));
    std::string button = alertSubview("UIButton")["id"];
    EXPECT_EQ(source_->screen()["navigation"]["back"], "Screen Test");
    ASSERT_TRUE(send({{"type", "back"}}));
    ASSERT_TRUE(send({{"type", "tapRow"}, {"section", 0}, {"row", 3}}));
    EXPECT_NE(alertSubview("UIButton")["id"], button);
    EXPECT_FALSE(send({{"type", "control"}, {"id", button}, {"event", "touchUpInside"}}));
}

TEST_F(PaneScreenSourceTest, ControlsChangeTheStoreAsTheUserWould) {
    start("ScreenListPage");
    HBPreferences& store = HBPreferences::sharedInstance();
    std::string toggle = rowView(0, "UISwitch")["id"];
    ASSERT_TRUE(
        send({{"type", "control"}, {"id", toggle}, {"event", "valueChanged"}, {"value", false}}));
    EXPECT_FALSE(store.boolForKey("enabled", true));
    EXPECT_EQ(rowView(0, "UISwitch")["on"], false);

    std::string slider = rowView(1, "UISlider")["id"];
    ASSERT_TRUE(send({{"type", "control"}, {"id", slider}, {"event", "touchDown"}}));
    ASSERT_TRUE(
        send({{"type", "control"}, {"id", slider}, {"event", "valueChanged"}, {"value", 40}}));
    EXPECT_EQ(rowView(1, "UISlider")["value"], 40);
    ASSERT_TRUE(
        send({{"type", "control"}, {"id", slider}, {"event", "touchUpInside"}, {"value", 60}}));
    EXPECT_EQ(store.integerForKey("alpha"), 60);

    std::string field = rowView(2, "UITextField")["id"];
    ASSERT_TRUE(send({{"type", "text"}, {"id", field}, {"text", "Office"}, {"end", true}}));
    ASSERT_TRUE(store.objectForKey("name").stringValue());
    EXPECT_EQ(*store.objectForKey("name").stringValue(), "Office");
    EXPECT_EQ(rowView(2, "UITextField")["text"], "Office");

    ASSERT_TRUE(send({{"type", "tapRow"}, {"section", 0}, {"row", 4}}));
    EXPECT_EQ(source_->takeOpenedURLs(), std::vector<std::string>{"https://example.invalid/help"});
    EXPECT_TRUE(source_->takeOpenedURLs().empty());
}

TEST_F(PaneScreenSourceTest, AnAlertTakesTheTypedTextBeforeItsAction) {
    start("ScreenAlertPage");
    ASSERT_TRUE(send({{"type", "tapRow"}, {"section", 0}, {"row", 0}}));
    json alert = source_->screen()["alert"];
    EXPECT_EQ(alert, json::parse(R"({"title": "Rename", "message": "Type a name",
        "textFields": [{"placeholder": "Name", "text": "", "keyboardType": "default", "secure": false}],
        "actions": [{"title": "Save", "style": "default", "enabled": true},
                    {"title": "Cancel", "style": "cancel", "enabled": true}]})"));

    // The page under the alert takes nothing until the alert is answered.
    Status refused = send({{"type", "tapRow"}, {"section", 0}, {"row", 0}});
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.error(), "an alert is shown: answer it first");
    EXPECT_FALSE(send({{"type", "alertAction"}, {"index", 2}, {"texts", json::array()}}));
    EXPECT_FALSE(send({{"type", "alertAction"}, {"index", 0}, {"texts", {"a", "b"}}}));

    ASSERT_TRUE(send({{"type", "alertAction"}, {"index", 0}, {"texts", {"Work"}}}));
    EXPECT_EQ(source_->screen()["alert"], nullptr);
    EXPECT_EQ(rows()[0]["text"], "Name: Work");
    EXPECT_FALSE(send({{"type", "alertAction"}, {"index", 0}, {"texts", json::array()}}));
}

TEST_F(PaneScreenSourceTest, ImpossibleEventsChangeNothing) {
    start("ScreenListPage");
    std::string slider = rowView(1, "UISlider")["id"];
    std::string toggle = rowView(0, "UISwitch")["id"];
    json before = source_->screen();
    std::uint64_t revision = source_->revision();
    const json refused[] = {
        {{"type", "tapRow"}, {"section", 0}, {"row", 99}},
        {{"type", "tapRow"}, {"section", 5}, {"row", 0}},
        {{"type", "deleteRow"}, {"section", 0}, {"row", 1}},
        {{"type", "moveRow"}, {"from", {0, 1}}, {"to", {0, 2}}},
        {{"type", "longPress"}, {"point", {10, 10}}},
        {{"type", "control"}, {"id", "v999999"}, {"event", "touchUpInside"}},
        {{"type", "control"}, {"id", toggle}, {"event", "valueChanged"}, {"value", "yes"}},
        {{"type", "control"}, {"id", slider}, {"event", "valueChanged"}, {"value", true}},
        {{"type", "control"}, {"id", before["page"]["id"]}, {"event", "touchDown"}},
        {{"type", "text"}, {"id", slider}, {"text", "1"}},
        {{"type", "scroll"}, {"id", slider}, {"offset", 10}},
        {{"type", "alertAction"}, {"index", 0}},
        {{"type", "appearance"}, {"value", "sepia"}},
        {{"type", "tapRow"}, {"section", 0}},
        {{"type", "back"}},
        {{"type", "wave"}},
    };
    for (const json& event : refused) {
        Status answer = send(event);
        EXPECT_FALSE(answer) << event;
        EXPECT_FALSE(answer.error().empty()) << event;
    }
    // Where the user left a view that a tap has since taken off the screen.
    EXPECT_TRUE(send({{"type", "scroll"}, {"id", "v999999"}, {"offset", 10}}));
    EXPECT_EQ(source_->screen(), before);
    EXPECT_EQ(source_->revision(), revision);
    EXPECT_TRUE(HBPreferences::sharedInstance().objectForKey("alpha").isAbsent());
}

TEST_F(PaneScreenSourceTest, RevisionGrowsWithMainQueueWorkOnly) {
    start("ScreenAlertPage");
    std::uint64_t first = source_->revision();
    source_->runDueWork();
    (void)source_->screen();
    EXPECT_EQ(source_->revision(), first);

    std::string button = alertSubview("UIButton")["id"];
    ASSERT_TRUE(
        send({{"type", "control"}, {"id", button}, {"event", "touchDown"}, {"point", {5, 5}}}));
    ASSERT_TRUE(
        send({{"type", "control"}, {"id", button}, {"event", "touchUpInside"}, {"point", {5, 5}}}));
    // The button only queued its work: the screen is as it was.
    std::uint64_t tapped = source_->revision();
    EXPECT_EQ(alertSubview("UILabel")["text"], "");
    source_->runDueWork();
    EXPECT_GT(source_->revision(), tapped);
    EXPECT_EQ(alertSubview("UILabel")["text"], "1");
}

TEST_F(PaneScreenSourceTest, SelfDrawnViewsAreDrawnAgainOnlyWhenTheyAsk) {
    start("ScreenAlertPage");
    json swatch = alertSubview("SwatchView");
    std::string first = swatch["image"];
    std::string identifier = swatch["id"];
    std::string prefix = "/api/drawing/" + identifier + "/";
    ASSERT_TRUE(first.starts_with(prefix)) << first;
    std::uint64_t version = std::stoull(first.substr(prefix.size()));
    std::optional<std::string> png = source_->drawing(identifier, version);
    ASSERT_TRUE(png);
    EXPECT_TRUE(png->starts_with("\x89PNG"));
    // Screens without a redraw name the same picture.
    EXPECT_EQ(alertSubview("SwatchView")["image"], first);
    EXPECT_EQ(alertPage().swatch->drawings, 1);

    // A fetch may arrive screens later: the last few drawings still answer.
    std::vector<std::uint64_t> versions{version};
    for (std::size_t i = 0; i < ImageCache::kKeptDrawings; ++i) {
        alertPage().swatch->setNeedsDisplay();
        std::string next = alertSubview("SwatchView")["image"];
        ASSERT_TRUE(next.starts_with(prefix)) << next;
        versions.push_back(std::stoull(next.substr(prefix.size())));
        EXPECT_GT(versions.back(), versions[versions.size() - 2]);
    }
    EXPECT_EQ(alertPage().swatch->drawings, 1 + static_cast<int>(ImageCache::kKeptDrawings));
    EXPECT_FALSE(source_->drawing(identifier, versions.front())) << "older drawings go";
    for (std::size_t i = 1; i < versions.size(); ++i) {
        EXPECT_TRUE(source_->drawing(identifier, versions[i])) << "drawing " << i;
    }
    // A view that left the page answers while the screen before still named it.
    alertPage().swatch->removeFromSuperview();
    EXPECT_EQ(source_->screen().dump().find("SwatchView"), std::string::npos);
    EXPECT_TRUE(source_->drawing(identifier, versions.back())) << "named by the screen before";
    source_->screen();
    EXPECT_FALSE(source_->drawing(identifier, versions.back())) << "named by neither screen";
}

TEST_F(PaneScreenSourceTest, ALongPressSharesTheFileOrThePageSaysThereIsNone) {
    start("ScreenAlertPage");
    ASSERT_TRUE(send({{"type", "longPress"}, {"point", {20, 20}}}));
    EXPECT_FALSE(source_->takeSharedFile());
    EXPECT_EQ(source_->screen()["alert"]["title"], "No file");
    ASSERT_TRUE(send({{"type", "alertAction"}, {"index", 0}}));

    TemporaryDeviceRoot::write(device_.resolve(kSharedPath), "<plist/>");
    ASSERT_TRUE(send({{"type", "longPress"}, {"point", {20, 20}}}));
    std::optional<SharedFile> file = source_->takeSharedFile();
    ASSERT_TRUE(file);
    EXPECT_EQ(file->name, "shared.plist");
    EXPECT_EQ(file->mimeType, "application/x-plist");
    EXPECT_EQ(file->bytes, "<plist/>");
    EXPECT_FALSE(source_->takeSharedFile());
}

// Files go to the profile page only, and not past an alert it shows.
TEST_F(PaneScreenSourceTest, OnlyTheProfilePageTakesFiles) {
    const std::string file =
        "<plist><dict><key>listAlphaLevel</key><integer>5</integer></dict></plist>";
    start("ScreenListPage");
    EXPECT_EQ(source_->screen()["takesFiles"], false);
    EXPECT_FALSE(source_->receiveFile("Work.plist", file));

    start("HBProfileController");
    EXPECT_EQ(source_->screen()["takesFiles"], true);
    ASSERT_TRUE(source_->receiveFile("Work.plist", file));
    EXPECT_EQ(rows(1)[0]["text"], "Work");
    ASSERT_TRUE(source_->receiveFile("Work.plist", file));
    json asked = source_->screen();
    EXPECT_EQ(asked["alert"]["title"], "That profile exists!");
    EXPECT_EQ(asked["takesFiles"], false);
    Status refused = source_->receiveFile("Other.plist", file);
    EXPECT_FALSE(refused);
    EXPECT_FALSE(fs::exists(
        device_.resolve("/var/mobile/Library/Preferences/net.quorvel.huebadge_Other.plist")));
}

TEST_F(PaneScreenSourceTest, AppearanceRefillsTheVisibleCells) {
    start("ScreenAlertPage");
    EXPECT_EQ(rows()[0]["textColor"], "#000000");
    ASSERT_TRUE(send({{"type", "appearance"}, {"value", "dark"}}));
    EXPECT_EQ(source_->screen()["appearance"], "dark");
    EXPECT_EQ(rows()[0]["textColor"], "#FFFFFF");
}

TEST_F(PaneScreenSourceTest, AFailedSaveIsShownUntilTheNextSaveSucceeds) {
    start("ScreenListPage");
    EXPECT_EQ(source_->screen()["saveFailure"], nullptr);
    // A file where the preferences folder should be: no write below it can succeed, even as
    // root.
    fs::path folder = device_.resolve("/var/mobile/Library/Preferences");
    fs::remove_all(folder);
    TemporaryDeviceRoot::write(folder.string(), "in the way");
    std::string toggle = rowView(0, "UISwitch")["id"];
    ASSERT_TRUE(
        send({{"type", "control"}, {"id", toggle}, {"event", "valueChanged"}, {"value", false}}));
    json failure = source_->screen()["saveFailure"];
    ASSERT_TRUE(failure.is_object()) << failure;
    std::string settingsFile = HBPreferences::pathForIdentifier(HBPreferences::kIdentifier);
    EXPECT_EQ(failure["path"], settingsFile);
    EXPECT_FALSE(failure["message"].get<std::string>().empty());
    // The page goes on as before: the switch shows the new value, no alert.
    EXPECT_EQ(rowView(0, "UISwitch")["on"], false);
    EXPECT_EQ(source_->screen()["alert"], nullptr);

    fs::remove(folder);
    ASSERT_TRUE(
        send({{"type", "control"}, {"id", toggle}, {"event", "valueChanged"}, {"value", true}}));
    EXPECT_EQ(source_->screen()["saveFailure"], nullptr);
    EXPECT_TRUE(fs::is_regular_file(settingsFile));
}

TEST_F(PaneScreenSourceTest, TheScreenListsPlayedSoundsUntilTheyAreDisposedOf) {
    start("ScreenAlertPage");
    const std::string tone = "/Library/Ringtones/Two Bells.m4r";
    TemporaryDeviceRoot::write(device_.resolve(tone), "ring");
    SystemSoundID sound = 0;
    ASSERT_EQ(AudioServicesCreateSystemSoundID(
                  NSURL::fileURLWithPath(NSString::stringByAddingPercentEscapes(tone)), &sound),
              kAudioServicesNoError);
    auto listed = [&]() -> json {
        json sounds = source_->screen()["sounds"];
        for (const json& play : sounds) {
            std::string address = play["url"].get<std::string>().substr(SoundFiles::kPath.size());
            if (SoundFiles::locate(
                    NSString::stringByRemovingPercentEncoding(address).value_or(""))) {
                return play;
            }
        }
        return nullptr;
    };
    (void)source_->screen();
    EXPECT_EQ(listed(), nullptr);
    AudioServicesPlayAlertSound(sound);
    json first = listed();
    ASSERT_TRUE(first.is_object());
    EXPECT_EQ(first["url"], SoundFiles::address(tone));
    AudioServicesPlayAlertSound(sound);
    EXPECT_GT(listed()["play"], first["play"]);
    AudioServicesDisposeSystemSoundID(sound);
    EXPECT_EQ(listed(), nullptr);
}

// A page that takes swipe deletes offers them outside editing mode, and the event applies.
TEST_F(PaneScreenSourceTest, RowsOfAPageThatTakesSwipeDeletesShowAndTakeDelete) {
    std::string profile =
        device_.resolve("/var/mobile/Library/Preferences/net.quorvel.huebadge_A.plist");
    TemporaryDeviceRoot::write(profile, "<plist><dict/></plist>");
    start("HBProfileController");
    ASSERT_EQ(rows(1).size(), 1u);
    EXPECT_EQ(rows(1)[0]["editingStyle"], "delete");
    ASSERT_TRUE(send({{"type", "deleteRow"}, {"section", 1}, {"row", 0}}));
    EXPECT_FALSE(fs::exists(profile));
    EXPECT_TRUE(rows(1).empty());
}

TEST_F(PaneScreenSourceTest, AnUnknownFirstPageStartsNothing) {
    EXPECT_EQ(PaneScreenSource::start(ScreenOptions{}, "NoSuchPage"), nullptr);
}

}  // namespace

namespace {

// Each kind of control of a list page: the event that changes it, and what the screen shows
// of its value.
struct UndoCase {
    const char* step;
    std::size_t row;
    const char* type;
    const char* shown;
    json change;
    json before;
    json after;
};

TEST_F(PaneScreenSourceTest, UndoAndRedoEventsTakeTheStepsTheScreenNames) {
    HBUndoHistory::shared().clear();
    start("ScreenListPage");
    EXPECT_EQ(source_->screen()["history"], json({{"undo", nullptr}, {"redo", nullptr}}));
    EXPECT_FALSE(send({{"type", "undo"}}));
    EXPECT_FALSE(send({{"type", "redo"}}));
    const UndoCase cases[] = {
        {"Enabled", 0, "UISwitch", "on", json{{"event", "valueChanged"}, {"value", false}}, true,
         false},
        // A row without a title names its step by its key.
        {"alpha", 1, "UISlider", "value", json{{"event", "touchUpInside"}, {"value", 60}}, 25, 60},
        {"Name", 2, "UITextField", "text", json{{"text", "Office"}, {"end", true}}, "", "Office"},
    };
    for (const UndoCase& c : cases) {
        json change = c.change;
        change["type"] = std::string(c.type) == "UITextField" ? "text" : "control";
        change["id"] = rowView(c.row, c.type)["id"];
        ASSERT_TRUE(send(change)) << c.step;
        EXPECT_EQ(source_->screen()["history"]["undo"], c.step);
        ASSERT_TRUE(send({{"type", "undo"}})) << c.step;
        EXPECT_EQ(rowView(c.row, c.type)[c.shown], c.before) << c.step;
        EXPECT_EQ(source_->screen()["history"]["redo"], c.step);
        ASSERT_TRUE(send({{"type", "redo"}})) << c.step;
        EXPECT_EQ(rowView(c.row, c.type)[c.shown], c.after) << c.step;
        EXPECT_EQ(source_->screen()["history"], json({{"undo", c.step}, {"redo", nullptr}}));
    }
    HBUndoHistory::shared().clear();
}

}  // namespace
