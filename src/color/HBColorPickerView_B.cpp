#include "color/HBColorPickerView_B.h"

namespace {

constexpr HBColorPickerDescription kBDescription{
    .slider = HBColorComponent::Brightness,
    .sliderRisesToTheRight = false,
    .fieldHorizontal = HBColorComponent::Hue,
    .fieldVertical = HBColorComponent::Saturation,
    .topLeftFormat = "Saturation: %d%%",
    .topRightFormat = "%d° : Hue",
    .centreFormat = "%d%%",
    .centreStaticText = "Brightness:",
};

}  // namespace

HBColorPickerView_B::HBColorPickerView_B(CGRect frame, const UIColor& color,
                                         HBColorBlock colorsHaveChangedBlock,
                                         HBColorBlock saveChangesBlock)
    : HBColorPickerView(frame, color, std::move(colorsHaveChangedBlock),
                        std::move(saveChangesBlock), kBDescription,
                        std::make_shared<HBHueSaturationView>(),
                        std::make_shared<HBBrightnessSliderView>()) {}

std::shared_ptr<HBHueSaturationView> HBColorPickerView_B::hueSaturationView() const {
    return std::static_pointer_cast<HBHueSaturationView>(fieldView());
}

std::shared_ptr<HBBrightnessSliderView> HBColorPickerView_B::brightnessGradientView() const {
    return std::static_pointer_cast<HBBrightnessSliderView>(sliderView());
}
