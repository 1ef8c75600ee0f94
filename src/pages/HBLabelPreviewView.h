#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pages/HBPreviewReader.h"
#include "platform/ui/UIView.h"

// A small drawing of the place in Mail that an option page configures, with labels in the
// real account and filter colours, drawn as the page's settings say (HBLabelMeaning). It sits
// above the page's rows, takes no touches and never writes: it reads the store and the values
// of sliders being dragged, and redraws only when what it shows changed.
class HBLabelPreviewView : public UIView {
  public:
    // As wide as the page; as tall as its panels need.
    HBLabelPreviewView(double width, HBPreviewDescription description);
    std::string className() const override { return "HBLabelPreviewView"; }

    static constexpr double kGap = 8;
    static double heightFor(const HBPreviewDescription& description);

    // A slider of the page moved to a value not stored yet, or was let go (the store then
    // holds its value).
    void setLiveValue(const std::string& key, double value);
    void clearLiveValue(const std::string& key);
    // Reads again what the preview shows; asks for a redraw only when that changed.
    void refresh();

    const HBPreviewState& state() const { return _state; }
    // Each panel's row frames in the view, top to bottom.
    std::vector<std::vector<CGRect>> rowFrames() const;

    bool drawsItself() const override { return true; }
    void drawRect(CGRect rect) override;

  private:
    void drawRow(CGContextRef context, const HBPanelState& panel, CGRect row,
                 std::size_t index) const;
    void drawCount(CGContextRef context, const HBPanelState& panel, CGRect row,
                   const std::optional<UIColor>& color) const;

    HBPreviewReader _reader;
    HBPreviewReader::LiveValues _live;
    HBPreviewState _state;
};

using HBLabelPreviewViewPtr = std::shared_ptr<HBLabelPreviewView>;
