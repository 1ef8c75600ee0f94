#include "color/HBColorPickerView_H.h"

namespace {

constexpr HBColorPickerDescription kHDescription{
    .slider = HBColorComponent::Hue,
    .sliderRisesToTheRight = true,
    .fieldHorizontal = HBColorComponent::Saturation,
    .fieldVertical = HBColorComponent::Brightness,
    .topLeftFormat = "Brightness: %d%%",
    .topRightFormat = "%d%% :Saturation",
    .centreFormat = "%d°",
    .centreStaticText = "Hue:",
};

}  // namespace

HBColorPickerView_H::HBColorPickerView_H(CGRect frame, const UIColor& color,
                                         HBColorBlock colorsHaveChangedBlock,
                                         HBColorBlock saveChangesBlock)
    : HBColorPickerView(frame, color, std::move(colorsHaveChangedBlock),
                        std::move(saveChangesBlock), kHDescription,
                        std::make_shared<HBBrightnessSaturationView>(),
                        std::make_shared<HBHueSliderView>()) {}

std::shared_ptr<HBBrightnessSaturationView> HBColorPickerView_H::brightnessSaturationView() const {
    return std::static_pointer_cast<HBBrightnessSaturationView>(fieldView());
}

std::shared_ptr<HBHueSliderView> HBColorPickerView_H::hueGradientView() const {
    return std::static_pointer_cast<HBHueSliderView>(sliderView());
}
