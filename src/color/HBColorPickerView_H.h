#pragma once

#include "color/HBBrightnessSaturationView.h"
#include "color/HBColorPickerView.h"
#include "color/HBHueSliderView.h"

// The hue-first picker: hue on the slider, saturation (left to right) against brightness (top
// to bottom) on the field.
class HBColorPickerView_H : public HBColorPickerView {
  public:
    HBColorPickerView_H(CGRect frame, const UIColor& color, HBColorBlock colorsHaveChangedBlock,
                        HBColorBlock saveChangesBlock);
    std::string className() const override { return "HBColorPickerView_H"; }

    std::shared_ptr<HBBrightnessSaturationView> brightnessSaturationView() const;
    UIButtonPtr touchEaterBrightnessSaturation() const { return fieldTouchEater(); }
    std::shared_ptr<HBHueSliderView> hueGradientView() const;
    UIButtonPtr touchEaterHueSaturation() const { return sliderTouchEater(); }
    const UIImageViewPtr& hueSelector() const { return sliderSelector(); }

    void _updateHueWithTouch(CGPoint point) { updateSliderWithTouch(point); }
    void _updateBrightnessSaturationWithTouch(CGPoint point) { updateFieldWithTouch(point); }
    void _updateHueSelector() { updateSliderSelector(); }
    void _updateBrigntessSaturationSelector() { updateFieldSelector(); }
    void _updateHueSelectorPosition() { updateSliderSelectorPosition(); }
    using HBColorPickerView::_setColor;
    using HBColorPickerView::_updateCrosshairPosition;
};
