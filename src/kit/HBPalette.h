#pragma once

#include "platform/ui/UIColor.h"
#include "platform/ui/UIView.h"

class UITableViewCell;

// The pane's colours for one appearance: dark text on white in the light style, light text
// on black otherwise. Pages choose by the current appearance when they fill a cell; cells and
// pickers by their own traits, when made and on each change.
struct HBPalette {
    bool light = true;
    UIColor text;
    UIColor background;
    // Second lines and help text.
    UIColor secondaryText;
    // Numbers and buttons in cells.
    UIColor accent;
    // The faint shade behind a cell's or picker's buttons.
    UIColor buttonShade;

    static HBPalette of(const UITraitCollection& traits);
    static HBPalette current() { return of(UITraitCollection::current()); }
    // Paints a plain cell: its text and its background.
    void paint(UITableViewCell& cell) const;
};
