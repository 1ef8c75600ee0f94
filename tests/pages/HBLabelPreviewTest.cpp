#include "pages/HBLabelPreviewView.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "color/HBSliderCell.h"
#include "host/HeadlessHost.h"
#include "kit/HBPageRouter.h"
#include "pages/HBOptionsController.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/prefs/PSClasses.h"
#include "platform/prefs/PSSwitchTableCell.h"
#include "platform/system/MailAccount.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/ViewRenderer.h"
#include "store/HBPreferences.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

constexpr std::uint32_t kHome = 0xE53935;
constexpr std::uint32_t kWork = 0x1E88E5;

PlistValue account(const char* name) {
    PlistValue entry = PlistValue::dictionary();
    entry.set("displayName", name);
    entry.set("primaryMailboxUniqueId", std::string("mb-") + name);
    entry.set("uniqueIdForPersistentConnection", std::string("pc-") + name);
    return entry;
}

// The bounding box of the pixels that differ between two pictures of one size.
struct Changes {
    std::size_t count = 0;
    CGRect box = CGRectZero;
};

Changes changesBetween(const UIImage& a, const UIImage& b, CGRect within) {
    Changes changes;
    double minX = 1e9, minY = 1e9, maxX = -1, maxY = -1;
    for (auto y = std::size_t(within.origin.y);
         y < std::size_t(within.origin.y + within.size.height); ++y) {
        for (auto x = std::size_t(within.origin.x);
             x < std::size_t(within.origin.x + within.size.width); ++x) {
            if (a.pixelAt(x, y) != b.pixelAt(x, y)) {
                ++changes.count;
                minX = std::min(minX, double(x));
                minY = std::min(minY, double(y));
                maxX = std::max(maxX, double(x));
                maxY = std::max(maxY, double(y));
            }
        }
    }
    if (changes.count) {
        changes.box = CGRectMake(minX, minY, maxX - minX + 1, maxY - minY + 1);
    }
    return changes;
}

void expectBox(CGRect actual, CGRect expected) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 0.01);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 0.01);
    EXPECT_NEAR(actual.size.width, expected.size.width, 0.01);
    EXPECT_NEAR(actual.size.height, expected.size.height, 0.01);
}

// 0xRRGGBB of a pixel.
std::uint32_t rgbAt(const UIImage& image, CGPoint point) {
    std::uint32_t rgba = image.pixelAt(std::size_t(point.x), std::size_t(point.y));
    return rgba >> 8;
}

class LabelPreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
        screen = UIScreen::mainScreen().bounds();
        UIScreen::mainScreen().setBounds(CGRectMake(0, 0, 390, 844));
        TemporaryDeviceRoot::write(
            device.resolve(std::string(MailAccount::kAccountsPath)),
            PropertyList::toXml(PlistValue(PlistValue::Array{account("work"), account("Home")}))
                .value());
        store().reLoadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification);
        store().setObject(PlistValue("#E53935"), "Home");
        store().setObject(PlistValue("#1E88E5"), "work");
    }
    void TearDown() override {
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
        UIScreen::mainScreen().setBounds(screen);
    }

    static HBPreferences& store() { return HBPreferences::sharedInstance(); }
    static void set(const std::string& key, std::int64_t value) {
        store().setObject(PlistValue::integer(value), key);
    }
    // How often the views of the preview that draw themselves asked to be drawn again: each
    // such request is a new picture for the browser.
    static std::uint64_t pictureRedraws(const UIView& view) {
        std::uint64_t count = view.drawsItself() ? view.displayGeneration() : 0;
        for (const UIViewPtr& subview : view.subviews()) {
            count += pictureRedraws(*subview);
        }
        return count;
    }
    static UIImagePtr render(HBLabelPreviewView& view) {
        return ViewRenderer::renderView(view, view.bounds().size);
    }
    // The picture with the settings, against the same scene without labels.
    Changes labelPixels(HBLabelPreviewView& view, const std::string& typeKey, CGRect within) {
        view.refresh();
        UIImagePtr labelled = render(view);
        PlistValue type = store().objectForKey(typeKey);
        set(typeKey, static_cast<std::int64_t>(HBLabelType::None));
        view.refresh();
        UIImagePtr bare = render(view);
        store().setObject(type, typeKey);
        view.refresh();
        return changesBetween(*labelled, *bare, within);
    }
    CGRect wholeView(const HBLabelPreviewView& view) { return view.bounds(); }

    bool settingsFileExists() {
        return std::filesystem::exists(
            HBPreferences::pathForIdentifier(HBPreferences::kIdentifier));
    }

    TemporaryDeviceRoot device;
    CGRect screen{};
};

struct WidthCase {
    const char* name;
    HBPreviewDescription (*description)();
    const char* typeKey;
    const char* widthKey;
    HBLabelType type;
};

TEST_F(LabelPreviewTest, AWiderWidthPaintsMoreLabelPixels) {
    const WidthCase cases[] = {
        {"list bars", HBPreviewDescription::accountsList, "listType", "listWidth",
         HBLabelType::Bar},
        {"mailbox dots", HBPreviewDescription::accountsMailbox, "mailBoxType", "mailBoxWidth",
         HBLabelType::Dot},
        {"header bar", HBPreviewDescription::accountsMessage, "messageType", "messageWidth",
         HBLabelType::Bar},
    };
    for (const WidthCase& c : cases) {
        SCOPED_TRACE(c.name);
        HBLabelPreviewView view(390, c.description());
        set(c.typeKey, static_cast<std::int64_t>(c.type));
        std::size_t previous = 0;
        for (std::int64_t width : {2, 6, 14}) {
            set(c.widthKey, width);
            std::size_t painted = labelPixels(view, c.typeKey, wholeView(view)).count;
            EXPECT_GT(painted, previous) << "width " << width;
            previous = painted;
        }
    }
}

struct PlaceCase {
    const char* name;
    HBLabelType type;
    std::int64_t position;
    std::int64_t length;
    // The label's box in a row of the message list or a message header, given the row.
    CGRect (*expected)(CGRect row);
};

constexpr double kWidth = 10;

TEST_F(LabelPreviewTest, EachLabelTypePaintsWhereItsMeaningSays) {
    const PlaceCase list[] = {
        {"bar left", HBLabelType::Bar, 0, 100,
         [](CGRect r) { return CGRectMake(0, r.origin.y, kWidth, r.size.height); }},
        {"bar right, half height", HBLabelType::Bar, 1, 50,
         [](CGRect r) {
             return CGRectMake(r.size.width - kWidth, r.origin.y + r.size.height / 4, kWidth,
                               r.size.height / 2);
         }},
        {"dot left", HBLabelType::Dot, 0, 100,
         [](CGRect r) {
             return CGRectMake(HBLabelMeaning::kDotInset, r.origin.y + (r.size.height - kWidth) / 2,
                               kWidth, kWidth);
         }},
        {"background", HBLabelType::Background, 0, 100, [](CGRect r) { return r; }},
        {"none", HBLabelType::None, 0, 100, [](CGRect) { return CGRectZero; }},
    };
    HBLabelPreviewView view(390, HBPreviewDescription::accountsList());
    set("listWidth", static_cast<std::int64_t>(kWidth));
    set("listAlphaLevel", 100);
    for (const PlaceCase& c : list) {
        SCOPED_TRACE(c.name);
        set("listType", static_cast<std::int64_t>(c.type));
        set("listPosition", c.position);
        set("listHeightLevel", c.length);
        CGRect row = view.rowFrames().at(0).at(0);
        view.refresh();
        UIImagePtr labelled = render(view);
        set("listType", static_cast<std::int64_t>(HBLabelType::None));
        view.refresh();
        Changes changes = changesBetween(*labelled, *render(view), row);
        expectBox(changes.box, c.expected(row));
    }

    HBLabelPreviewView header(390, HBPreviewDescription::accountsMessage());
    set("messageType", static_cast<std::int64_t>(HBLabelType::Bar));
    set("messageWidth", static_cast<std::int64_t>(kWidth));
    set("messagePosition", 0);
    set("messageHeightLevel", 40);
    CGRect row = header.rowFrames().at(0).at(0);
    SCOPED_TRACE("a top bar runs along the header's top, centred, 40% of its width");
    expectBox(labelPixels(header, "messageType", header.bounds()).box,
              CGRectMake(row.size.width * 0.3, row.origin.y, row.size.width * 0.4, kWidth));
}

TEST_F(LabelPreviewTest, AlphaLevelsPaintNothingTheColourOrABlend) {
    struct Case {
        std::int64_t alphaLevel;
        std::uint32_t expected;  // 0xRRGGBB at the bar's middle; 0 for "nothing changes"
    };
    // Home over the white row at half opacity: each channel (c + 255) / 2.
    const Case cases[] = {{0, 0}, {100, kHome}, {50, 0xF29C9A}};
    HBLabelPreviewView view(390, HBPreviewDescription::accountsList());
    set("listType", static_cast<std::int64_t>(HBLabelType::Bar));
    set("listWidth", static_cast<std::int64_t>(kWidth));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alphaLevel);
        set("listAlphaLevel", c.alphaLevel);
        Changes changes = labelPixels(view, "listType", view.bounds());
        CGRect row = view.rowFrames().at(0).at(0);
        CGPoint middle = CGPointMake(kWidth / 2, row.origin.y + row.size.height / 2);
        if (c.expected == 0) {
            EXPECT_EQ(changes.count, 0u);
            continue;
        }
        std::uint32_t shown = rgbAt(*render(view), middle);
        for (int shift : {16, 8, 0}) {
            EXPECT_NEAR(int((shown >> shift) & 0xFF), int((c.expected >> shift) & 0xFF), 1);
        }
        CGRect second = view.rowFrames().at(0).at(1);
        if (c.alphaLevel == 100) {
            EXPECT_EQ(shown, c.expected) << "exactly the first account's colour";
            EXPECT_EQ(rgbAt(*render(view), CGPointMake(kWidth / 2, second.origin.y + 2)), kWork)
                << "the second row has the second account's colour";
        }
    }
}

TEST_F(LabelPreviewTest, DarkAppearanceChangesTheBackgroundNotTheLabels) {
    set("listWidth", static_cast<std::int64_t>(kWidth));
    set("listAlphaLevel", 100);
    auto host =
        std::make_unique<HeadlessHost>(PSControllerClasses::create("HBOptionsAccountsList"));
    auto& page = dynamic_cast<HBOptionsController&>(*host->topPage());
    ASSERT_TRUE(page.preview());
    HBLabelPreviewView& view = *page.preview();
    CGRect row = view.rowFrames().at(0).at(0);
    CGPoint label = CGPointMake(kWidth / 2, row.origin.y + 2);
    CGPoint backdrop = CGPointMake(row.size.width / 2, 1);
    CGPoint rowBackground = CGPointMake(row.size.width - 5, row.origin.y + 2);
    UIImagePtr light = render(view);

    // As the host switches it: the appearance, then the table fills its rows again.
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    host->visibleTable()->reloadData();
    UIImagePtr dark = render(view);
    EXPECT_NE(rgbAt(*dark, backdrop), rgbAt(*light, backdrop));
    EXPECT_NE(rgbAt(*dark, rowBackground), rgbAt(*light, rowBackground));
    EXPECT_EQ(rgbAt(*dark, label), kHome);
    EXPECT_EQ(rgbAt(*light, label), kHome);
}

struct DragCase {
    const char* page;
    long section;
    long row;
    const char* key;
    std::size_t panel;
};

class PreviewFollowsSliderTest : public LabelPreviewTest,
                                 public ::testing::WithParamInterface<DragCase> {};

TEST_P(PreviewFollowsSliderTest, BeforeTheReleaseAndWithoutWriting) {
    const DragCase& c = GetParam();
    auto host = std::make_unique<HeadlessHost>(PSControllerClasses::create(c.page));
    auto& page = dynamic_cast<HBOptionsController&>(*host->topPage());
    ASSERT_TRUE(page.preview());
    HBLabelPreviewView& view = *page.preview();
    ASSERT_EQ(host->visibleTable()->tableHeaderView().get(), &view);
    auto* cell = dynamic_cast<HBSliderCell*>(host->cellAt(c.section, c.row).get());
    ASSERT_TRUE(cell);
    ASSERT_EQ(cell->settingKey(), c.key);
    UIImagePtr before = render(view);
    std::uint64_t drawn = pictureRedraws(view);

    ASSERT_TRUE(cell->slider()->userBeganTracking());
    cell->slider()->userChangedValue(30.4f);
    EXPECT_EQ(view.state().panels.at(c.panel).label.width, 30) << "the whole number shown";
    UIImagePtr moved = render(view);
    EXPECT_GT(changesBetween(*before, *moved, view.bounds()).count, 0u);
    EXPECT_EQ(pictureRedraws(view), drawn) << "a step moves plain views and draws no picture";
    EXPECT_FALSE(settingsFileExists()) << "nothing is written while dragging";

    cell->slider()->userChangedValue(30.2f);
    store().setObject(PlistValue("x"), "unrelatedKey");
    view.refresh();
    EXPECT_EQ(changesBetween(*moved, *render(view), view.bounds()).count, 0u)
        << "nothing it shows changed";

    cell->slider()->userEndedTracking();
    EXPECT_EQ(store().objectForKey(c.key), PlistValue::integer(30));
    EXPECT_EQ(view.state().panels.at(c.panel).label.width, 30) << "the stored value, now";
    EXPECT_EQ(changesBetween(*moved, *render(view), view.bounds()).count, 0u)
        << "the release changes nothing shown";
    EXPECT_EQ(pictureRedraws(view), drawn);
}

INSTANTIATE_TEST_SUITE_P(
    OptionPages, PreviewFollowsSliderTest,
    ::testing::Values(DragCase{"HBOptionsAccountsList", 0, 3, "listWidth", 0},
                      DragCase{"HBOptionsAccountsMailbox", 0, 2, "mailBoxWidth", 0},
                      DragCase{"HBOptionsReminders", 0, 3, "remindersListWidth", 0}));

TEST_F(LabelPreviewTest, SwitchesApplyAtOnceAndFilterPagesFollowTheAccountSettings) {
    set("listWidth", 7);
    set("listWidthFilters", 19);
    PlistValue filter = PlistValue::dictionary();
    filter.set("hexColor", "#00FF00");
    store().setObject(PlistValue(PlistValue::Array{filter}), "filtersEnabled");
    auto host = std::make_unique<HeadlessHost>(PSControllerClasses::create("HBOptionsFiltersList"));
    auto& page = dynamic_cast<HBOptionsController&>(*host->topPage());
    ASSERT_TRUE(page.preview());
    const HBPanelState* panel = &page.preview()->state().panels.at(0);
    EXPECT_EQ(panel->label.width, 7) << "the account settings apply while the switch is on";
    ASSERT_EQ(panel->rowColors.size(), 3u);
    EXPECT_EQ(panel->rowColors[0], UIColor::colorWithRed(0, 1, 0, 1)) << "the filter's colour";
    EXPECT_FALSE(panel->rowColors[1]) << "rows past the filters have no label";

    auto* useAccounts = dynamic_cast<PSSwitchTableCell*>(host->cellAt(0, 1).get());
    ASSERT_TRUE(useAccounts);
    useAccounts->control()->userToggled(false);
    panel = &page.preview()->state().panels.at(0);
    EXPECT_EQ(panel->label.width, 19) << "the page's own width, at once";

    auto* filterLabels = dynamic_cast<PSSwitchTableCell*>(host->cellAt(0, 0).get());
    filterLabels->control()->userToggled(false);
    EXPECT_FALSE(page.preview()->state().panels.at(0).labelsShown);
}

TEST_F(LabelPreviewTest, AChoiceAppliesBeforeTheUserGoesBack) {
    auto host =
        std::make_unique<HeadlessHost>(PSControllerClasses::create("HBOptionsAccountsList"));
    auto& page = dynamic_cast<HBOptionsController&>(*host->topPage());
    ASSERT_TRUE(page.preview());
    UIImagePtr before = render(*page.preview());
    ASSERT_TRUE(host->tapRow(0, 0));
    ASSERT_EQ(host->depth(), 2u);
    ASSERT_TRUE(host->tapRow(0, static_cast<long>(HBLabelType::Background)));
    EXPECT_EQ(page.preview()->state().panels.at(0).label.type, HBLabelType::Background);
    EXPECT_GT(changesBetween(*before, *render(*page.preview()), page.preview()->bounds()).count,
              0u);
}

TEST_F(LabelPreviewTest, PagesThatDrawLabelsHaveAPreviewAboveTheirRows) {
    struct Case {
        const char* page;
        bool preview;
    };
    const Case cases[] = {{"HBOptionsAccountsMailbox", true}, {"HBOptionsAccountsList", true},
                          {"HBOptionsAccountsMessage", true}, {"HBOptionsFiltersList", true},
                          {"HBOptionsFiltersMessage", true},  {"HBOptionsReminders", true},
                          {"HBUnreadToolbar", true},          {"HBOptionsFilters", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        auto host = std::make_unique<HeadlessHost>(PSControllerClasses::create(c.page));
        auto& page = dynamic_cast<HBOptionsController&>(*host->topPage());
        EXPECT_EQ(page.preview() != nullptr, c.preview);
        if (c.preview) {
            EXPECT_EQ(page.preview()->frame().size.width, 390);
            EXPECT_FALSE(page.preview()->isUserInteractionEnabled());
        }
    }
    for (long type : {0, 1}) {
        auto host = std::make_unique<HeadlessHost>(
            HBTypedControllerClasses::create("HBOptionsFiltersFolders", type));
        EXPECT_TRUE(dynamic_cast<HBOptionsController&>(*host->topPage()).preview());
    }
}

}  // namespace
