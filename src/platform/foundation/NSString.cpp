#include "platform/foundation/NSString.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

NSComparisonResult NSString::caseInsensitiveCompare(std::string_view a, std::string_view b) {
    icu::UnicodeString left = icu::UnicodeString::fromUTF8(icu::StringPiece(a.data(), a.size()));
    icu::UnicodeString right = icu::UnicodeString::fromUTF8(icu::StringPiece(b.data(), b.size()));
    int8_t order = left.caseCompare(right, U_FOLD_CASE_DEFAULT);
    return order < 0 ? NSOrderedAscending : order > 0 ? NSOrderedDescending : NSOrderedSame;
}
