#pragma once

#include "color/HBColorPickerView.h"
#include "color/HBHueBrightnessView.h"
#include "color/HBSaturationSliderView.h"

// The saturation-first picker: saturation on the slider (1 at the left), hue (left to right)
// against brightness (top to bottom) on the field.
class HBColorPickerView_S : public HBColorPickerView {
  public:
    HBColorPickerView_S(CGRect frame, const UIColor& color, HBColorBlock colorsHaveChangedBlock,
                        HBColorBlock saveChangesBlock);
    std::string className() const override { return "HBColorPickerView_S"; }

    std::shared_ptr<HBHueBrightnessView> hueBrightnessView() const;
    UIButtonPtr touchEaterHueBrightness() const { return fieldTouchEater(); }
    std::shared_ptr<HBSaturationSliderView> saturationGradientView() const;
    UIButtonPtr touchEaterSaturation() const { return sliderTouchEater(); }
    const UIImageViewPtr& saturationSelector() const { return sliderSelector(); }

    void _updateSaturationWithTouch(CGPoint point) { updateSliderWithTouch(point); }
    void _updateHueBrightnessWithTouch(CGPoint point) { updateFieldWithTouch(point); }
    void _updateSaturationSelector() { updateSliderSelector(); }
    void _updateHueBrigntesSelector() { updateFieldSelector(); }
    void _updateSaturationSelectorPosition() { updateSliderSelectorPosition(); }
    using HBColorPickerView::_setColor;
    using HBColorPickerView::_updateCrosshairPosition;
};
