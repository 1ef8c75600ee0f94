#pragma once

#include "platform/ui/UIGeometry.h"

// The device's screen. Its bounds are those of a common phone until the host says otherwise.
// Its safe area insets are the parts the system covers: the status bar at the top and the
// home indicator at the bottom.
class UIScreen {
  public:
    static UIScreen& mainScreen();

    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds) { bounds_ = bounds; }
    double scale() const { return scale_; }
    void setScale(double scale) { scale_ = scale; }
    UIEdgeInsets safeAreaInsets() const { return safeAreaInsets_; }
    void setSafeAreaInsets(UIEdgeInsets insets) { safeAreaInsets_ = insets; }
    double statusBarHeight() const { return safeAreaInsets_.top; }

  private:
    UIScreen() = default;

    CGRect bounds_ = CGRectMake(0, 0, 390, 844);
    double scale_ = 3;
    UIEdgeInsets safeAreaInsets_{44, 0, 34, 0};
};
