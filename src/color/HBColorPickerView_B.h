#pragma once

#include "color/HBBrightnessSliderView.h"
#include "color/HBColorPickerView.h"
#include "color/HBHueSaturationView.h"

// The brightness-first picker: brightness on the slider (1 at the left), hue (left to right)
// against saturation (top to bottom) on the field.
class HBColorPickerView_B : public HBColorPickerView {
  public:
    HBColorPickerView_B(CGRect frame, const UIColor& color, HBColorBlock colorsHaveChangedBlock,
                        HBColorBlock saveChangesBlock);
    std::string className() const override { return "HBColorPickerView_B"; }

    std::shared_ptr<HBHueSaturationView> hueSaturationView() const;
    UIButtonPtr touchEaterHueSaturation() const { return fieldTouchEater(); }
    std::shared_ptr<HBBrightnessSliderView> brightnessGradientView() const;
    UIButtonPtr touchEaterBrightness() const { return sliderTouchEater(); }
    const UIImageViewPtr& brightnessSelector() const { return sliderSelector(); }

    void _updateBrightnessWithTouch(CGPoint point) { updateSliderWithTouch(point); }
    void _updateHueSaturationWithTouch(CGPoint point) { updateFieldWithTouch(point); }
    void _updateBrightnessSelector() { updateSliderSelector(); }
    void _updateHueSaturationSelector() { updateFieldSelector(); }
    void _updateBrightnessSelectorPosition() { updateSliderSelectorPosition(); }
    using HBColorPickerView::_setColor;
    using HBColorPickerView::_updateCrosshairPosition;
};
