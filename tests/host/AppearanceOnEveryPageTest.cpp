// A switch of appearance recolours every page a user reaches as if it had been opened in the
// new appearance: rows, headers, footers, cells that draw their own controls and self-drawn
// views alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/system/MailAccount.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextView.h"
#include "store/HBPreferences.h"
#include "support/PaneWalk.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

std::string colorText(const OptionalColor& color) {
    return color ? HeadlessHost::describeColor(*color) : "none";
}

// Every colour the views of a page show, in view order.
void collectColors(const UIView& view, std::vector<std::string>& out) {
    std::string line = view.className() + " bg " + colorText(view.backgroundColor()) + " border " +
                       colorText(view.layer().borderColor);
    if (auto* label = dynamic_cast<const UILabel*>(&view)) {
        line += " text " + colorText(label->textColor());
    } else if (auto* button = dynamic_cast<const UIButton*>(&view)) {
        line += " title " + colorText(button->currentTitleColor());
    } else if (auto* text = dynamic_cast<const UITextView*>(&view)) {
        for (const NSAttributedRun& run : text->attributedText().runs()) {
            line += " run " + colorText(run.attributes.foregroundColor);
        }
    }
    out.push_back(line);
    for (const UIViewPtr& subview : view.subviews()) {
        collectColors(*subview, out);
    }
}

// Sorted: a view made again on a switch (a footer) may come in another place among its
// siblings.
std::vector<std::string> pageColors(HeadlessHost& host) {
    std::vector<std::string> colors;
    collectColors(*host.topPage()->view(), colors);
    std::sort(colors.begin(), colors.end());
    return colors;
}

// Self-drawn views with the number of times they were asked to draw.
void collectDrawn(UIView& view, std::map<const UIView*, std::uint64_t>& out) {
    if (view.drawsItself()) {
        out[&view] = view.displayGeneration();
    }
    for (const UIViewPtr& subview : view.subviews()) {
        collectDrawn(*subview, out);
    }
}

void expectReadableRows(HeadlessHost& host, const std::string& where) {
    for (const HeadlessHost::Section& section : host.visibleSections()) {
        for (const HeadlessHost::Row& row : section.rows) {
            if (!row.text.empty() && row.background) {
                EXPECT_NE(row.textColor, *row.background) << where << ": \"" << row.text << "\"";
            }
        }
    }
}

const char* styleName(UIUserInterfaceStyle style) {
    return style == UIUserInterfaceStyleDark ? "dark" : "light";
}

class AppearanceOnEveryPage : public ::testing::Test {
  protected:
    void SetUp() override {
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
        writeDevice();
    }
    void TearDown() override {
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    }

    // Accounts with and without a colour, and filters of every kind, so that every kind of
    // row (plain, coloured, previewed) is on some page.
    void writeDevice() {
        PlistValue accounts = PlistValue::array();
        for (const char* name : {"Home", "Work"}) {
            PlistValue account = PlistValue::dictionary();
            account.set("displayName", name);
            account.set("primaryMailboxUniqueId", std::string("mb-") + name);
            account.set("uniqueIdForPersistentConnection", std::string("pc-") + name);
            accounts.append(account);
        }
        TemporaryDeviceRoot::write(device.resolve(std::string(MailAccount::kAccountsPath)),
                                   PropertyList::toXml(accounts).value());
        PlistValue settings = PlistValue::dictionary();
        settings.set("Home", "#204080");
        PlistValue record = PlistValue::dictionary();
        record.set("filterName", "dark one");
        record.set("hexColor", "#102030");
        for (const char* key : {"filtersEnabled", "filtersFolders1Enabled",
                                "filtersFolders2Enabled", "filtersDisabled"}) {
            settings.set(key, PlistValue::Array{record});
        }
        settingsBytes = PropertyList::toXml(settings).value();
    }

    std::unique_ptr<HeadlessHost> open(const PaneRoute& route, UIUserInterfaceStyle style) {
        UITraitCollection::setCurrentUserInterfaceStyle(style);
        TemporaryDeviceRoot::write(HBPreferences::pathForIdentifier(HBPreferences::kIdentifier),
                                   settingsBytes);
        HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                             HBPreferences::kNotification);
        return PaneWalk::open(route);
    }

    std::vector<PaneRoute> everyRoute() {
        std::vector<PaneRoute> routes;
        PaneWalk::Options options;
        options.depth = 1;
        options.flipSwitches = false;
        options.onPage = [&](HeadlessHost&, const PaneRoute& route) { routes.push_back(route); };
        for (const PaneRoute& start : PaneWalk::startingRoutes()) {
            if (std::unique_ptr<HeadlessHost> host = open(start, UIUserInterfaceStyleLight)) {
                PaneWalk::walk(*host, start, options);
            }
        }
        // A tap on the way may have opened its page only after earlier taps changed the
        // settings: only routes that open from the settings alone are kept.
        std::erase_if(routes, [&](const PaneRoute& route) {
            return open(route, UIUserInterfaceStyleLight) == nullptr;
        });
        return routes;
    }

    TemporaryDeviceRoot device;
    std::string settingsBytes;
};

TEST_F(AppearanceOnEveryPage, ASwitchShowsWhatAPageOpenedInTheNewAppearanceShows) {
    std::vector<PaneRoute> routes = everyRoute();
    ASSERT_GT(routes.size(), PaneWalk::startingRoutes().size());
    const std::pair<UIUserInterfaceStyle, UIUserInterfaceStyle> switches[] = {
        {UIUserInterfaceStyleLight, UIUserInterfaceStyleDark},
        {UIUserInterfaceStyleDark, UIUserInterfaceStyleLight},
    };
    for (const PaneRoute& route : routes) {
        for (auto [from, to] : switches) {
            std::string where = route.describe() + " from " + styleName(from);
            std::unique_ptr<HeadlessHost> fresh = open(route, to);
            ASSERT_TRUE(fresh) << where;
            std::vector<std::string> expected = pageColors(*fresh);
            fresh.reset();

            std::unique_ptr<HeadlessHost> host = open(route, from);
            ASSERT_TRUE(host) << where;
            std::map<const UIView*, std::uint64_t> drawn;
            collectDrawn(*host->topPage()->view(), drawn);
            UITraitCollection::setCurrentUserInterfaceStyle(to);
            EXPECT_EQ(pageColors(*host), expected) << where;
            expectReadableRows(*host, where);
            for (auto [view, generation] : drawn) {
                EXPECT_GT(view->displayGeneration(), generation)
                    << where << ": " << view->className() << " was not drawn again";
            }
        }
    }
}

// Every picture a page names (the pickers' slider selector, the sound images of the filter
// lists) is in the bundle and decodes, on every page two levels deep, in both appearances.
TEST_F(AppearanceOnEveryPage, EveryPictureAPageNamesLoads) {
    std::vector<std::string> missing;
    PaneWalk::Options options;
    auto collect = [&](HeadlessHost&, const PaneRoute& route) {
        for (const std::string& path : UIImage::takeUnreadablePaths()) {
            missing.push_back(route.describe() + ": " + path);
        }
    };
    options.onPage = collect;
    options.afterTap = collect;
    UIImage::takeUnreadablePaths();
    std::size_t pages = 0;
    for (auto style : {UIUserInterfaceStyleLight, UIUserInterfaceStyleDark}) {
        for (const PaneRoute& start : PaneWalk::startingRoutes()) {
            if (std::unique_ptr<HeadlessHost> host = open(start, style)) {
                ++pages;
                PaneWalk::walk(*host, start, options);
                collect(*host, start);
            }
        }
    }
    EXPECT_GE(pages, PaneWalk::startingRoutes().size());
    EXPECT_EQ(missing, std::vector<std::string>{});
}

// A page further down the stack hears of the switch too and shows it when the user comes
// back; cells the table hands out later are coloured for the new appearance.
TEST_F(AppearanceOnEveryPage, PagesBelowTheTopAndLaterCellsFollowTheSwitch) {
    const PaneRoute root{"HuebadgeListController", std::nullopt, {}};
    std::unique_ptr<HeadlessHost> fresh = open(root, UIUserInterfaceStyleDark);
    ASSERT_TRUE(fresh);
    std::vector<std::string> dark = pageColors(*fresh);
    fresh.reset();

    std::unique_ptr<HeadlessHost> host = open(root, UIUserInterfaceStyleLight);
    ASSERT_TRUE(host);
    std::vector<std::string> light = pageColors(*host);
    EXPECT_NE(dark, light);
    long rows = host->visibleTable()->numberOfRowsInSection(0);
    for (long row = 0; row < rows && host->depth() == 1; ++row) {
        host->tapRow(0, row);
    }
    ASSERT_GT(host->depth(), 1u);
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    host->goBack();
    EXPECT_EQ(pageColors(*host), dark);
    host->visibleTable()->reloadData();
    EXPECT_EQ(pageColors(*host), dark);
}

}  // namespace
