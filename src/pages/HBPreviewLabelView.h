#pragma once

#include <optional>
#include <string>

#include "pages/HBLabelMeaning.h"
#include "platform/ui/UIView.h"

// One label of a label preview. A bar, dot or background in one colour is a plain coloured
// view (a dot a round one), so that a slider step moves or recolours it without a new
// picture; only a label that fades draws itself, since its colour changes across it.
class HBPreviewLabelView : public UIView {
  public:
    HBPreviewLabelView();
    std::string className() const override { return "HBPreviewLabelView"; }

    // Shows the label as HBLabelMeaning places it in the row (in the superview's
    // coordinates), or hides it when there is no colour or nothing to paint.
    void show(CGRect row, const HBLabelSettings& settings, const std::optional<UIColor>& color);

    bool drawsItself() const override { return fading_; }
    void drawRect(CGRect rect) override;

  private:
    bool fading_ = false;
    CGRect row_{};
    HBLabelSettings settings_;
    UIColor color_;
};
