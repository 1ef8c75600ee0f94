#include "kit/HBPalette.h"

#include "platform/ui/UILabel.h"
#include "platform/ui/UITableViewCell.h"

HBPalette HBPalette::of(const UITraitCollection& traits) {
    bool light = traits.isLight();
    return {light,
            light ? UIColor::blackColor() : UIColor::whiteColor(),
            light ? UIColor::whiteColor() : UIColor::blackColor(),
            light ? UIColor::darkGrayColor() : UIColor::lightGrayColor(),
            light ? UIColor::blueColor() : UIColor::whiteColor(),
            light ? UIColor::colorWithWhite(0, 0.04)
                  : UIColor::colorWithRed(100 / 255.0, 100 / 255.0, 100 / 255.0, 1)};
}

void HBPalette::paint(UITableViewCell& cell) const {
    cell.textLabel()->setTextColor(text);
    cell.setBackgroundColor(background);
}
