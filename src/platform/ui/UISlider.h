#pragma once

#include "platform/ui/UIControl.h"

// Where the finger was lifted at the end of a drag.
enum class TouchRelease { Inside, Outside };

// A value between a minimum and a maximum, always kept within them. setValue from code sends
// nothing; the user entry points send ValueChanged (on every step when continuous, else once
// at the end) and TouchUpInside or TouchUpOutside at the end of the drag.
class UISlider : public UIControl {
  public:
    explicit UISlider(CGRect frame = CGRectZero) : UIControl(frame) {}
    std::string className() const override { return "UISlider"; }

    float value() const { return value_; }
    void setValue(float value);
    void setValue(float value, bool animated);
    float minimumValue() const { return minimumValue_; }
    void setMinimumValue(float value);
    float maximumValue() const { return maximumValue_; }
    void setMaximumValue(float value);
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    const OptionalColor& minimumTrackTintColor() const { return minimumTrackTintColor_; }
    void setMinimumTrackTintColor(OptionalColor color);
    const OptionalColor& maximumTrackTintColor() const { return maximumTrackTintColor_; }
    void setMaximumTrackTintColor(OptionalColor color);
    const OptionalColor& thumbTintColor() const { return thumbTintColor_; }
    void setThumbTintColor(OptionalColor color);

    // The user put a finger on the thumb (TouchDown).
    bool userBeganTracking();
    // The user dragged the thumb to a value (kept within the bounds). Ignored when disabled.
    void userChangedValue(float value);
    // The user lifted the finger.
    void userEndedTracking(TouchRelease release = TouchRelease::Inside);

  private:
    bool changeValue(float value);
    float clamped(float value) const;

    float value_ = 0;
    float minimumValue_ = 0;
    float maximumValue_ = 1;
    bool continuous_ = true;
    bool dragging_ = false;
    bool changedWhileDragging_ = false;
    OptionalColor minimumTrackTintColor_;
    OptionalColor maximumTrackTintColor_;
    OptionalColor thumbTintColor_;
};

using UISliderPtr = std::shared_ptr<UISlider>;
