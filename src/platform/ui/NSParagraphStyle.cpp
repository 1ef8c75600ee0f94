#include "platform/ui/NSParagraphStyle.h"

std::vector<NSTextTab> NSParagraphStyle::defaultTabStops() {
    std::vector<NSTextTab> stops;
    for (int i = 1; i <= 12; ++i) {
        stops.emplace_back(NSTextAlignmentLeft, 28.0 * i);
    }
    return stops;
}
