#pragma once

#include "platform/ui/UIGeometry.h"

// The device's screen. Its bounds are those of a common phone until the host says otherwise.
class UIScreen {
  public:
    static UIScreen& mainScreen();

    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds) { bounds_ = bounds; }
    double scale() const { return scale_; }
    void setScale(double scale) { scale_ = scale; }

  private:
    UIScreen() = default;

    CGRect bounds_ = CGRectMake(0, 0, 390, 844);
    double scale_ = 3;
};
