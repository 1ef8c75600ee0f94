#pragma once

#include <fmt/format.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/HeadlessHost.h"
#include "kit/HBPageRouter.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"

// How a user reaches one page: a registered page class (with a type for the typed ones), then
// the rows tapped on the way, each of which opened the next page.
struct PaneRoute {
    std::string start;
    std::optional<long> type;
    std::vector<NSIndexPath> taps;

    std::string describe() const {
        std::string text = type ? fmt::format("{}({})", start, *type) : start;
        for (const NSIndexPath& tap : taps) {
            text += fmt::format(" > {}.{}", tap.section(), tap.row());
        }
        return text;
    }
};

// Walks the pane as a user would: every registered page class (the typed ones with the types
// the pane opens them with), a tap on rows of each section (and a flip of their switches),
// an answer to every alert a tap
// shows, and the same again on every page a tap opens, down to a depth.
class PaneWalk {
  public:
    struct Options {
        // Levels of pages whose rows are tapped: 1 taps the starting pages only.
        int depth = 2;
        // Rows tapped per section: the first ones and the last.
        long rowsPerSection = 3;
        bool flipSwitches = true;
        std::function<void(HeadlessHost&, const PaneRoute&)> onPage;
        std::function<void(HeadlessHost&, const PaneRoute&)> afterTap;
    };

    static std::vector<PaneRoute> startingRoutes() {
        std::vector<PaneRoute> routes;
        for (const std::string& name : PSControllerClasses::names()) {
            routes.push_back({name, std::nullopt, {}});
        }
        for (const std::string& name : HBTypedControllerClasses::names()) {
            for (long type : {0L, 1L}) {
                routes.push_back({name, type, {}});
            }
        }
        return routes;
    }

    // The route's page on top of a new host; null when a tap on the way opens no page now.
    static std::unique_ptr<HeadlessHost> open(const PaneRoute& route) {
        std::shared_ptr<PSViewController> page =
            route.type ? HBTypedControllerClasses::create(route.start, *route.type)
                       : PSControllerClasses::create(route.start);
        if (!page) {
            return nullptr;
        }
        auto host = std::make_unique<HeadlessHost>(page);
        for (const NSIndexPath& tap : route.taps) {
            std::size_t before = host->depth();
            host->tapRow(tap.section(), tap.row());
            host->advanceClock(0.3);
            if (host->depth() <= before) {
                return nullptr;
            }
        }
        return host;
    }

    static void walk(HeadlessHost& host, const PaneRoute& route, const Options& options) {
        if (options.onPage) {
            options.onPage(host, route);
        }
        if (static_cast<int>(route.taps.size()) >= options.depth) {
            return;
        }
        for (long section = 0; section < sectionCount(host); ++section) {
            long rows = rowCount(host, section);
            for (long row = 0; row < rows; ++row) {
                if (row >= options.rowsPerSection && row != rows - 1) {
                    continue;
                }
                tapAndFollow(host, route, NSIndexPath::indexPathForRow(row, section), options);
                rows = rowCount(host, section);
            }
        }
    }

  private:
    static long sectionCount(HeadlessHost& host) {
        UITableView* table = host.visibleTable();
        return table ? table->numberOfSections() : 0;
    }
    static long rowCount(HeadlessHost& host, long section) {
        UITableView* table = host.visibleTable();
        return table && section < table->numberOfSections() ? table->numberOfRowsInSection(section)
                                                            : 0;
    }

    // A row whose accessory is a switch is flipped as well as tapped.
    static void flipSwitch(HeadlessHost& host, const NSIndexPath& tap) {
        UITableViewCellPtr cell = host.cellAt(tap.section(), tap.row());
        if (auto* control = cell ? dynamic_cast<UISwitch*>(cell->accessoryView().get()) : nullptr) {
            control->userToggled();
            host.advanceClock(0.3);
        }
    }

    // Fills every field with a number and presses the first action, as often as alerts show.
    static void answerAlerts(HeadlessHost& host) {
        for (int round = 0; round < 3; ++round) {
            UIAlertController* alert = host.presentedAlert();
            if (!alert || alert->actions().empty()) {
                return;
            }
            for (std::size_t field = 0; field < alert->textFields().size(); ++field) {
                host.typeIntoAlert(field, "7");
            }
            host.pressAlertAction(alert->actions().front()->title());
            host.advanceClock(0.3);
        }
    }

    static void tapAndFollow(HeadlessHost& host, const PaneRoute& route, const NSIndexPath& tap,
                             const Options& options) {
        std::size_t before = host.depth();
        if (options.flipSwitches) {
            flipSwitch(host, tap);
        }
        host.tapRow(tap.section(), tap.row());
        host.advanceClock(0.3);
        answerAlerts(host);
        if (host.depth() > before) {
            PaneRoute opened = route;
            opened.taps.push_back(tap);
            walk(host, opened, options);
            while (host.depth() > before && host.goBack()) {
                host.advanceClock(0.3);
            }
        }
        if (options.afterTap) {
            options.afterTap(host, route);
        }
    }
};
