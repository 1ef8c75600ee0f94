#include <string>
#include <vector>

#include "filters/FilterPageFixture.h"
#include "filters/HBFilterController.h"
#include "model/HBFilterKind.h"
#include "model/HBFilterRecord.h"

namespace {

constexpr long kLongListFilters = 10000;

// The message filter list with 10,000 enabled filters titled "f0" on and two disabled ones.
class LongFilterListTest : public ::testing::Test, protected FilterPageFixture {
  protected:
    // Writes the list afresh (made and written out once) and opens the page on it.
    void open() {
        static const std::string text = PropertyList::toXml(longList()).value();
        TemporaryDeviceRoot::write(settingsPath(), text);
        loadStore();
        show(std::make_shared<HBFilterController>());
    }
    static PlistValue longList() {
        const HBFilterKind& kind = HBFilterKind::messages();
        PlistValue::Array enabled;
        for (long index = 0; index < kLongListFilters; ++index) {
            enabled.push_back(record("f" + std::to_string(index)));
        }
        PlistValue settings = PlistValue::dictionary();
        settings.set(kind.enabledKey, PlistValue(std::move(enabled)));
        settings.set(kind.disabledKey, list({record("x"), record("y")}));
        return settings;
    }
    static PlistValue record(const std::string& title) {
        PlistValue made = HBFilterKind::messages().newRecord();
        made.set(HBFilterKind::messages().fields.front().key, title);
        return made;
    }
    static std::vector<std::string> titles(const PlistValue& records) {
        std::vector<std::string> shown;
        const PlistValue::Array* entries = records.arrayValue();
        for (const PlistValue& entry : entries ? *entries : PlistValue::Array()) {
            shown.push_back(HBFilterRecord::title(entry, HBFilterKind::messages()));
        }
        return shown;
    }
};

// Moves to and from rows far from the visible ones follow the rules of a short list, and the
// table never holds more than three screens of cells.
TEST_F(LongFilterListTest, MovesReachFarRowsAndTheFile) {
    struct Case {
        const char* what;
        NSIndexPath from;
        NSIndexPath to;
        long enabledCount;
        std::string enabledAt;  // "index=title" checked in the enabled list
        std::vector<std::string> disabled;
    };
    auto at = [](long row, long section) { return NSIndexPath::indexPathForRow(row, section); };
    const Case cases[] = {
        {"last to first", at(9999, 0), at(0, 0), kLongListFilters, "0=f9999", {"x", "y"}},
        {"first to far down", at(0, 0), at(9000, 0), kLongListFilters, "9000=f0", {"x", "y"}},
        {"far one under the add row",
         at(5000, 0),
         at(1, 1),
         kLongListFilters - 1,
         "5000=f5001",
         {"f5000", "x", "y"}},
    };
    const HBFilterKind& kind = HBFilterKind::messages();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open();
        UITableView* table = host->visibleTable();
        ASSERT_TRUE(host->dragRow(c.from, c.to));
        PlistValue file = onDisk();
        std::vector<std::string> enabled = titles(file[kind.enabledKey]);
        ASSERT_EQ(long(enabled.size()), c.enabledCount);
        std::size_t split = c.enabledAt.find('=');
        EXPECT_EQ(enabled.at(std::stoul(c.enabledAt.substr(0, split))),
                  c.enabledAt.substr(split + 1));
        EXPECT_EQ(titles(file[kind.disabledKey]), c.disabled);
        EXPECT_LE(table->visibleCells().size(), 60u);
    }
}

}  // namespace
