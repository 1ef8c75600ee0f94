// Measures the message filter list with long lists: opening the page (making it and loading
// its table) and reloading it, with 1,000 and 10,000 filters. The table reads the lists from
// the store on every callback, so the 10k/1k ratio shows whether any work grows faster than
// the list (goal: at most 12). The page's own part of a load (every row's cell, asked without
// the table) is measured apart from the table's. A move with 10,000 filters includes writing
// the settings file.
#include <fmt/format.h>

#include <filesystem>
#include <memory>
#include <utility>

#include "BenchTools.h"
#include "filters/HBFilterController.h"
#include "host/HeadlessHost.h"
#include "model/HBFilterKind.h"
#include "platform/prefs/PSBundle.h"
#include "platform/system/DeviceRoot.h"
#include "store/HBPreferences.h"

namespace {

void storeFilters(std::size_t count) {
    PlistValue::Array records;
    for (std::size_t i = 0; i < count; ++i) {
        PlistValue record = HBFilterKind::messages().newRecord();
        record.set("from", fmt::format("sender{}@example\\.com", i));
        record.set("hexColor", i % 2 ? "#1E88E5" : "#000000");
        record.set("alertSound", i % 3 ? "HBSilent" : "alert:chord");
        records.push_back(std::move(record));
    }
    HBPreferences& store = HBPreferences::sharedInstance();
    store.setObject(PlistValue(std::move(records)), "filtersEnabled");
    store.setObject(PlistValue::array(), "filtersDisabled");
}

struct Timings {
    double open = 0;
    double reload = 0;
    double cells = 0;  // the page's own part of a load: every row's cell, without the table
};

Timings timeList(std::size_t count) {
    storeFilters(count);
    Timings timings;
    timings.open = medianSeconds([] {
        HeadlessHost host(std::make_shared<HBFilterController>());
        host.visibleTable()->snapshot();
    });
    auto page = std::make_shared<HBFilterController>();
    HeadlessHost host(page);
    timings.reload = medianSeconds([&page] {
        page->tableView()->reloadData();
        page->tableView()->snapshot();
    });
    UITableView* table = page->tableView().get();
    timings.cells = medianSeconds([&page, table] {
        for (long section = 0; section < page->numberOfSectionsInTableView(table); ++section) {
            for (long row = 0; row < page->numberOfRowsInSection(table, section); ++row) {
                page->cellForRowAtIndexPath(table, NSIndexPath::indexPathForRow(row, section));
            }
        }
    });
    return timings;
}

double timeMove() {
    storeFilters(10000);
    auto page = std::make_shared<HBFilterController>();
    HeadlessHost host(page);
    return medianSeconds([&host] {
        host.dragRow(NSIndexPath::indexPathForRow(0, 0), NSIndexPath::indexPathForRow(5000, 0));
    });
}

}  // namespace

void runFilterListBenchmarks() {
    std::filesystem::path root = std::filesystem::temp_directory_path() / "huebadge-bench-filters";
    std::filesystem::remove_all(root);
    DeviceRoot::set(root.string());
    PSBundle::setResourcesDirectory(HUEBADGE_SOURCE_DIR "/resources");
    HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                         HBPreferences::kNotification);
    Timings small = timeList(1000);
    Timings large = timeList(10000);
    printRatio("filters: open list, 10,000 filters", large.open, "1,000 filters", small.open,
               "goal ratio <= 12");
    printRatio("filters: reload list, 10,000 filters", large.reload, "1,000 filters", small.reload,
               "goal ratio <= 12");
    printRatio("filters: every row's cell, 10,000 filters", large.cells, "1,000 filters",
               small.cells, "goal ratio <= 12");
    // Cost a row as the list grows past the processor's caches: flat when nothing grows faster
    // than the list, whatever the ratio above makes of a warm 1,000-row table.
    for (auto [count, timings] : {std::pair{1000.0, small}, std::pair{10000.0, large},
                                  std::pair{40000.0, timeList(40000)}}) {
        fmt::print(
            "filters: {:>6} filters, a row: open {:.2f} us, reload {:.2f} us, cells {:.2f} us\n",
            count, timings.open / count * 1e6, timings.reload / count * 1e6,
            timings.cells / count * 1e6);
    }
    double move = timeMove();
    printRatio("filters: one move, 10,000 filters", move, "reload, 10,000 filters", large.reload,
               "includes the file write");
    std::filesystem::remove_all(root);
}
