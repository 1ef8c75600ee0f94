#include "platform/foundation/PlistValue.h"

#include <gtest/gtest.h>

TEST(PlistValue, CopiesShareUntilWritten) {
    PlistValue list = PlistValue::array();
    list.append("a");
    PlistValue copy = list;
    EXPECT_EQ(copy.arrayValue(), list.arrayValue());
    copy.append("b");
    EXPECT_EQ(list.count(), 1u);
    EXPECT_EQ(copy.count(), 2u);
    EXPECT_EQ(*copy[1].stringValue(), "b");
}

TEST(PlistValue, NestedEditsDetachOnlyTheEditedPath) {
    PlistValue record = PlistValue::dictionary();
    record.set("hexColor", "#FFFFFF");
    PlistValue table = PlistValue::dictionary();
    table.set("filtersEnabled", PlistValue(PlistValue::Array{record}));

    PlistValue filters = table["filtersEnabled"];
    filters.mutableArray()[0].set("hexColor", "#000000");
    EXPECT_EQ(*table["filtersEnabled"][0]["hexColor"].stringValue(), "#FFFFFF");
    table.set("filtersEnabled", filters);
    EXPECT_EQ(*table["filtersEnabled"][0]["hexColor"].stringValue(), "#000000");
}

TEST(PlistValue, NumberConversionsFollowTheNumberObject) {
    EXPECT_EQ(PlistValue::boolean(true).integerValue(), 1);
    EXPECT_EQ(PlistValue::boolean(true).doubleValue(), 1.0);
    EXPECT_EQ(PlistValue::real(2.9).integerValue(), 2);
    EXPECT_EQ(PlistValue::real(1e300).integerValue(), INT64_MAX);
    EXPECT_FALSE(PlistValue("25").isNumber());
    EXPECT_EQ(PlistValue("25").integerValue(), 0);
    PlistValue big = PlistValue::unsignedInteger(UINT64_MAX);
    EXPECT_TRUE(big.isUnsignedInteger());
    EXPECT_EQ(big.unsignedValue(), UINT64_MAX);
    EXPECT_NE(big, PlistValue::integer(-1));
}

TEST(PlistValue, MissingKeysAndIndexesReadAsAbsent) {
    PlistValue text("x");
    EXPECT_TRUE(text["key"].isAbsent());
    EXPECT_TRUE(PlistValue::array()[3].isAbsent());
    EXPECT_EQ(text.count(), 0u);
}

TEST(PlistValue, DifferingKeysNameWhatWasAddedRemovedOrChanged) {
    PlistValue before = PlistValue::dictionary();
    before.set("kept", PlistValue::integer(1));
    before.set("changed", PlistValue("old"));
    before.set("removed", PlistValue::boolean(true));
    PlistValue after = before;
    after.set("changed", PlistValue("new"));
    after.mutableDictionary().erase("removed");
    after.set("added", PlistValue::integer(2));
    using Keys = std::set<std::string>;
    EXPECT_EQ(PlistValue::differingKeys(before, after), (Keys{"added", "changed", "removed"}));
    EXPECT_EQ(PlistValue::differingKeys(after, before), (Keys{"added", "changed", "removed"}));
    EXPECT_EQ(PlistValue::differingKeys(before, before), Keys{});
    // Anything but a dictionary counts as an empty one.
    EXPECT_EQ(PlistValue::differingKeys(PlistValue(), after), (Keys{"added", "changed", "kept"}));
}
