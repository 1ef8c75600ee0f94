#pragma once

#include <vector>

#include "color/HBGradientView.h"

// One fixed picture of a layered gradient view: its gradients never change, so it is drawn
// again only when its size changes.
class HBFixedGradientView : public UIView {
  public:
    HBFixedGradientView(CGRect frame, std::vector<HBGradientLayer> gradients)
        : UIView(frame), gradients_(std::move(gradients)) {}
    std::string className() const override { return "HBFixedGradientView"; }

    bool drawsItself() const override { return true; }
    void drawRect(CGRect rect) override;
    const std::vector<HBGradientLayer>& gradients() const { return gradients_; }

  private:
    std::vector<HBGradientLayer> gradients_;
};
