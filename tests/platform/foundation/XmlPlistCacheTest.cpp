#include "platform/foundation/XmlPlistCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/XmlPlistWriter.h"

namespace {

PlistValue record(int n) {
    PlistValue value = PlistValue::dictionary();
    value.set("filterName", PlistValue("Filter " + std::to_string(n)));
    value.set("fromMatchType", PlistValue::integer(n % 2));
    value.set("sound", PlistValue::data({1, 2, 3, static_cast<std::uint8_t>(n)}));
    return value;
}

PlistValue table() {
    PlistValue list = PlistValue::array();
    for (int n = 0; n < 5; ++n) {
        list.append(record(n));
    }
    PlistValue nested = PlistValue::dictionary();
    nested.set("inner", PlistValue(PlistValue::Array{record(9)}));
    PlistValue root = PlistValue::dictionary();
    root.set("filtersEnabled", list);
    root.set("folders", nested);
    root.set("enabled", PlistValue::boolean(true));
    root.set("empty", PlistValue::array());
    return root;
}

// The text a write hands out, read as one while its pieces are valid.
std::string joined(const Result<std::span<const std::string_view>>& pieces) {
    std::string text;
    for (std::string_view piece : pieces.value()) {
        text.append(piece);
    }
    return text;
}

PlistValue& filter(PlistValue& root, std::size_t index) {
    return root.mutableDictionary()["filtersEnabled"].mutableArray()[index];
}

// Each edit is applied to the table the previous ones left, then the cache must write what a
// fresh writer writes: a kept piece of text that no longer matches its value shows here.
TEST(XmlPlistCache, WritesWhatTheWriterWritesAfterEveryKindOfEdit) {
    const struct {
        const char* name;
        std::function<void(PlistValue&)> edit;
    } edits[] = {
        {"nothing", [](PlistValue&) {}},
        {"a scalar", [](PlistValue& t) { t.set("enabled", PlistValue::boolean(false)); }},
        {"a field of one record",
         [](PlistValue& t) { filter(t, 2).set("filterName", PlistValue("Renamed")); }},
        {"a record appended",
         [](PlistValue& t) { t.mutableDictionary()["filtersEnabled"].append(record(7)); }},
        {"two records swapped",
         [](PlistValue& t) {
             auto& list = t.mutableDictionary()["filtersEnabled"].mutableArray();
             std::swap(list[0], list[4]);
         }},
        {"one record twice",
         [](PlistValue& t) {
             auto& list = t.mutableDictionary()["filtersEnabled"].mutableArray();
             list[1] = list[3];
         }},
        {"the copy of a record edited",
         [](PlistValue& t) { filter(t, 1).set("fromMatchType", PlistValue::integer(5)); }},
        {"a record removed",
         [](PlistValue& t) {
             auto& list = t.mutableDictionary()["filtersEnabled"].mutableArray();
             list.erase(list.begin());
         }},
        {"deep inside a nested dictionary",
         [](PlistValue& t) {
             PlistValue& folders = t.mutableDictionary()["folders"];
             folders.mutableDictionary()["inner"].mutableArray()[0].set("filterName",
                                                                        PlistValue("Deep"));
         }},
        {"an array emptied", [](PlistValue& t) { t.set("filtersEnabled", PlistValue::array()); }},
        {"an empty array filled",
         [](PlistValue& t) { t.mutableDictionary()["empty"].append(record(3)); }},
        {"a key removed", [](PlistValue& t) { t.mutableDictionary().erase("folders"); }},
    };
    XmlPlistCache cache;
    PlistValue root = table();
    for (const auto& step : edits) {
        step.edit(root);
        Result<std::string> expected = XmlPlistWriter::write(root);
        auto written = cache.write(root);
        ASSERT_TRUE(expected.ok() && written.ok()) << step.name;
        EXPECT_EQ(joined(written), expected.value()) << step.name;
    }
}

// Edits one after another leave the text in ever more pieces until they are joined; every
// write must still be the writer's text, whichever piece was edited and whenever joined.
TEST(XmlPlistCache, StaysTheWritersTextAcrossManyEditsAndJoins) {
    XmlPlistCache cache;
    PlistValue root = table();
    for (int n = 0; n < 40; ++n) {
        root.mutableDictionary()["filtersEnabled"].append(record(n + 10));
    }
    std::size_t mostPieces = 0;
    for (int edit = 0; edit < 300; ++edit) {
        filter(root, static_cast<std::size_t>(edit * 17 % 45))
            .set("filterName", PlistValue("Edit " + std::to_string(edit)));
        if (edit % 50 == 0) {
            root.set("enabled", PlistValue::boolean(edit % 100 == 0));
        }
        auto written = cache.write(root);
        ASSERT_TRUE(written.ok()) << edit;
        ASSERT_EQ(joined(written), XmlPlistWriter::write(root).value()) << edit;
        mostPieces = std::max(mostPieces, written.value().size());
    }
    EXPECT_LE(mostPieces, 65u);
}

TEST(XmlPlistCache, RefusesWhatTheWriterRefusesAndRecoversAfterwards) {
    XmlPlistCache cache;
    PlistValue root = table();
    ASSERT_TRUE(cache.write(root).ok());
    filter(root, 3).set("filterName", PlistValue(std::string("bad\x01", 4)));
    EXPECT_FALSE(cache.write(root).ok());
    filter(root, 3).set("filterName", PlistValue("good again"));
    auto written = cache.write(root);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(joined(written), XmlPlistWriter::write(root).value());
    EXPECT_EQ(joined(cache.write(PlistValue::dictionary())),
              XmlPlistWriter::write(PlistValue::dictionary()).value());
}

}  // namespace
