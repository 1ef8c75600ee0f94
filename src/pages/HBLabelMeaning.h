#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/CGContext.h"
#include "platform/ui/UIColor.h"

// The label types as the option pages' choice lists store them.
enum class HBLabelType : std::int64_t { Bar = 0, Dot = 1, Background = 2, None = 3 };

// The edge of a row or message header that a label keeps to.
enum class HBLabelEdge { Left, Right, Top };

// One label as an option page sets it.
struct HBLabelSettings {
    HBLabelType type = HBLabelType::Bar;
    // Points: the thickness of a bar, the diameter of a dot.
    double width = 0;
    // Percent; the label is the colour at this opacity over whatever the row shows.
    std::int64_t alphaLevel = 100;
    HBLabelEdge edge = HBLabelEdge::Left;
    // A bar or background fades from the colour at its edge to nothing at its far side.
    bool fadeOut = false;
    // Percent of the edge that a bar runs along, centred on it ("Height", "Length").
    std::int64_t lengthLevel = 100;

    bool operator==(const HBLabelSettings&) const = default;
};

// What each label type means, in one place: every preview paints labels from this table.
class HBLabelMeaning {
  public:
    enum class Shape {
        // A strip against the edge, `width` thick, `lengthLevel` percent of the edge long.
        Strip,
        // A circle `width` across (at most the row's smaller side), centred across the row
        // and kDotInset from the edge.
        Circle,
        // The whole row; width and length do not apply.
        Fill,
        // Nothing at all.
        Nothing,
    };
    struct Entry {
        HBLabelType type;
        Shape shape;
    };

    static constexpr double kDotInset = 6;

    // In the order of the choice lists.
    static const std::vector<Entry>& types();
    // The entry of a stored number; numbers that name no type draw nothing.
    static const Entry& entryFor(std::int64_t storedType);
    static const Entry& entryFor(HBLabelType type) {
        return entryFor(static_cast<std::int64_t>(type));
    }

    // The part of the row the label covers; an empty rectangle for no label.
    static CGRect area(CGRect row, const HBLabelSettings& settings);
    // Paints the label in the colour (its own alpha ignored) into the row.
    static void paint(CGContextRef context, CGRect row, const HBLabelSettings& settings,
                      const UIColor& color);
};
