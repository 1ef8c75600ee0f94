#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pages/HBPreviewLabelView.h"
#include "pages/HBPreviewReader.h"
#include "platform/ui/UIView.h"
#include "store/HBPreferencesObserver.h"

// A small drawing of the place in Mail that an option page configures, with labels in the
// real account and filter colours, drawn as the page's settings say (HBLabelMeaning). It sits
// above the page's rows, takes no touches and never writes: it reads the store and the values
// of sliders being dragged. It is made of plain coloured views (rows, text bars, labels,
// counts) made once and only moved or recoloured when what it shows changed, so a slider
// step sends no new picture. It follows the store as its observer, and the appearance.
class HBLabelPreviewView : public UIView, public HBPreferencesObserver {
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

    void layoutSubviews() override;
    void traitCollectionDidChange(const UITraitCollection& previous) override;
    void preferenceDidChange(std::string_view) override { refresh(); }
    void preferencesDidReload() override { refresh(); }

  private:
    // The views of one row, lowest first.
    struct RowViews {
        UIViewPtr row;
        std::shared_ptr<HBPreviewLabelView> label;
        std::vector<UIViewPtr> texts;
        UIViewPtr count;
    };
    void addRowViews();
    void show();
    void showCount(const RowViews& views, const HBPanelState& panel, CGRect row,
                   const std::optional<UIColor>& color) const;

    HBPreviewReader _reader;
    HBPreviewReader::LiveValues _live;
    HBPreviewState _state;
    // Panel by panel, top to bottom.
    std::vector<std::vector<RowViews>> _rows;
};

using HBLabelPreviewViewPtr = std::shared_ptr<HBLabelPreviewView>;
