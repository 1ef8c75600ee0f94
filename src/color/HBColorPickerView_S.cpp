#include "color/HBColorPickerView_S.h"

namespace {

constexpr HBColorPickerDescription kSDescription{
    .slider = HBColorComponent::Saturation,
    .sliderRisesToTheRight = false,
    .fieldHorizontal = HBColorComponent::Hue,
    .fieldVertical = HBColorComponent::Brightness,
    .topLeftFormat = "Brightness: %d%%",
    .topRightFormat = "%d° : Hue",
    .centreFormat = "%d%%",
    .centreStaticText = "Saturation:",
};

}  // namespace

HBColorPickerView_S::HBColorPickerView_S(CGRect frame, const UIColor& color,
                                         HBColorBlock colorsHaveChangedBlock,
                                         HBColorBlock saveChangesBlock)
    : HBColorPickerView(frame, color, std::move(colorsHaveChangedBlock),
                        std::move(saveChangesBlock), kSDescription,
                        std::make_shared<HBHueBrightnessView>(),
                        std::make_shared<HBSaturationSliderView>()) {}

std::shared_ptr<HBHueBrightnessView> HBColorPickerView_S::hueBrightnessView() const {
    return std::static_pointer_cast<HBHueBrightnessView>(fieldView());
}

std::shared_ptr<HBSaturationSliderView> HBColorPickerView_S::saturationGradientView() const {
    return std::static_pointer_cast<HBSaturationSliderView>(sliderView());
}
