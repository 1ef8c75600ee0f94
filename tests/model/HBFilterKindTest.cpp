#include "model/HBFilterKind.h"

#include <gtest/gtest.h>

namespace {

// A colour row title names one record of one kind: read back, it gives that kind and index,
// and no other kind claims it (the message filters' titles begin the folder filters').
TEST(HBFilterKindTest, ColorRowTitlesReadBackToTheirKindAndIndexOnly) {
    for (const HBFilterKind* kind : HBFilterKind::all()) {
        for (long index : {0L, 7L, 123L}) {
            std::string title = kind->colorRowTitle(index);
            SCOPED_TRACE(title);
            const HBFilterKind* claimed = nullptr;
            for (const HBFilterKind* other : HBFilterKind::all()) {
                if (std::optional<long> read = other->colorRowIndex(title)) {
                    claimed = other;
                    EXPECT_EQ(*read, index);
                    break;
                }
            }
            EXPECT_EQ(claimed, kind);
        }
    }
    for (const char* title : {"Work", "Color Valu", ""}) {
        for (const HBFilterKind* kind : HBFilterKind::all()) {
            EXPECT_FALSE(kind->colorRowIndex(title)) << title;
        }
    }
}

}  // namespace
