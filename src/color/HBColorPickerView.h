#pragma once

#include <functional>
#include <memory>
#include <string>

#include "color/HBGradientView.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIEvent.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

class HBTouchEaterButton;

// A callback that takes the picker's colour. Blocks given to a picker are kept by it for its
// whole life; capture weak pointers or values only.
using HBColorBlock = std::function<void(const UIColor& color)>;

enum class HBColorComponent { Hue, Saturation, Brightness };

// Where the three pickers differ: which component lies on the slider and on the field's axes,
// which way the slider runs, and the label texts ("%d" takes the rounded value, "%%" is "%").
// The field's horizontal axis always runs from 0 at the left, its vertical axis from 1 at the
// top; the top-left label shows the vertical component, the top-right label the horizontal
// one and the centre row the slider's.
struct HBColorPickerDescription {
    HBColorComponent slider;
    // True when the slider's value rises from 0 at the left to 1 at the right.
    bool sliderRisesToTheRight;
    HBColorComponent fieldHorizontal;
    HBColorComponent fieldVertical;
    const char* topLeftFormat;
    const char* topRightFormat;
    const char* centreFormat;
    const char* centreStaticText;
};

// A view that picks a colour in the hue-saturation-brightness model: a two-dimensional
// gradient field, a gradient slider below it, a crosshair on the field, a selector on the
// slider, three value labels that open typed-input prompts, and invisible touch catchers
// over the field and the slider. Showing a colour from code (setAColor) never commits it;
// touches and saved prompts commit through _setColor and report through the two blocks.
// HBColorPickerView_H, HBColorPickerView_S and HBColorPickerView_B are its three kinds.
class HBColorPickerView : public UIView {
  public:
    static constexpr const char* kSelectorImagePath =
        "/Library/PreferenceBundles/Huebadge.bundle/Selector.png";

    std::string className() const override = 0;

    // The committed colour: the last one reported through colorsHaveChangedBlock, or the one
    // the picker was made with.
    const UIColor& aColor() const { return _aColor; }
    // Shows a colour without committing it: reads its hue, saturation and brightness (alpha
    // is ignored), redraws and moves the markers. aColor stays and no block is called.
    void setAColor(const UIColor& color);

    const HBColorBlock& colorsHaveChangedBlock() const { return _colorsHaveChangedBlock; }
    void setColorsHaveChangedBlock(HBColorBlock block);
    const HBColorBlock& saveChangesBlock() const { return _saveChangesBlock; }
    void setSaveChangesBlock(HBColorBlock block);

    double currentHue() const { return _currentHue; }
    double currentSaturation() const { return _currentSaturation; }
    double currentBrightness() const { return _currentBrightness; }
    double labelHeight() const { return _labelHeight; }

    // Targets of the touch catchers: every touch of the event on the button, in the
    // picker's coordinates, goes to dispatchTouchEvent; the end then calls saveChangesBlock.
    void touchesMovedButton(UIButton* button, const UIEvent& withEvent);
    void touchesEndedButton(UIButton* button, const UIEvent& withEvent);
    // Maps one point (picker coordinates) to a change of the field's or the slider's values,
    // by the point alone: in the field, in the slider, level with the slider (clamped to
    // it), between the two label rows (clamped to the field), or nowhere.
    void dispatchTouchEvent(CGPoint point, bool isMoving);

    // Typed-input prompts, presented by the root view controller of the key window.
    void askUserForHue() { askUserFor(HBColorComponent::Hue); }
    void askUserForBrightness() { askUserFor(HBColorComponent::Brightness); }
    void askUserForSaturation() { askUserFor(HBColorComponent::Saturation); }

    void layoutSubviews() override;
    // Chooses the palette for the new appearance and recolours the labels and buttons.
    void traitCollectionDidChange(const UITraitCollection& previous) override;

    const std::shared_ptr<UIView>& crossHairs() const { return _crossHairs; }
    const UILabelPtr& currentHueLabel() const { return _currentHueLabel; }
    const UILabelPtr& currentSaturationLabel() const { return _currentSaturationLabel; }
    const UILabelPtr& currentBrightnessLabel() const { return _currentBrightnessLabel; }
    // The field, the slider, their touch catchers and the slider's marker, whatever a kind
    // names them.
    const std::shared_ptr<HBGradientView>& fieldView() const { return _fieldView; }
    const std::shared_ptr<HBGradientView>& sliderView() const { return _sliderView; }
    UIButtonPtr fieldTouchEater() const;
    UIButtonPtr sliderTouchEater() const;
    const UIImageViewPtr& sliderSelector() const { return _sliderSelector; }
    // The three label buttons: top left, top right, centre row.
    const UIButtonPtr& topLeftButton() const { return _topLeftButton; }
    const UIButtonPtr& topRightButton() const { return _topRightButton; }
    const UIButtonPtr& centreButton() const { return _centreButton; }

  protected:
    HBColorPickerView(CGRect frame, const UIColor& color, HBColorBlock colorsHaveChangedBlock,
                      HBColorBlock saveChangesBlock, const HBColorPickerDescription& description,
                      std::shared_ptr<HBGradientView> field,
                      std::shared_ptr<HBGradientView> slider);

    // The steps each kind names after its components.
    void updateSliderWithTouch(CGPoint point);
    void updateFieldWithTouch(CGPoint point);
    // Refresh after a slider change: the field's picture and the centre label.
    void updateSliderSelector();
    // Refresh after a field change: the slider's picture and the two top labels.
    void updateFieldSelector();
    void updateSliderSelectorPosition();
    void _updateCrosshairPosition();
    // Commits a colour: an unequal one is reported, then kept as aColor.
    void _setColor(const UIColor& color);

  private:
    void choosePalette();
    void applyPalette();
    void buildSubviews();
    void addSubviewsInStackingOrder();
    UIButtonPtr makeLabelButton(CGRect frame, HBColorComponent component);
    UILabelPtr makeLabel(CGRect frame, NSTextAlignment alignment);
    void askUserFor(HBColorComponent component);
    void saveTypedValue(HBColorComponent component, const std::string& text);
    CGRect fieldFrame() const;
    CGRect sliderFrame() const;
    double& valueOf(HBColorComponent component);
    double sliderPosition() const;
    UILabelPtr& labelOf(HBColorComponent component);
    void showLabel(HBColorComponent component, const char* format);
    UIColor currentColor() const;
    void showCurrentColor();

    HBColorPickerDescription _description;
    double _currentBrightness = 0;
    double _currentHue = 0;
    double _currentSaturation = 0;
    double _labelHeight = 0;
    HBColorBlock _colorsHaveChangedBlock;
    HBColorBlock _saveChangesBlock;
    UIColor _aColor;
    UIColor _labelColor;
    UIColor _buttonColor;
    std::shared_ptr<HBGradientView> _fieldView;
    std::shared_ptr<HBTouchEaterButton> _fieldTouchEater;
    std::shared_ptr<UIView> _crossHairs;
    std::shared_ptr<HBGradientView> _sliderView;
    std::shared_ptr<HBTouchEaterButton> _sliderTouchEater;
    UIImageViewPtr _sliderSelector;
    UILabelPtr _currentHueLabel;
    UILabelPtr _currentSaturationLabel;
    UILabelPtr _currentBrightnessLabel;
    UILabelPtr _centreStaticLabel;
    UIButtonPtr _topLeftButton;
    UIButtonPtr _topRightButton;
    UIButtonPtr _centreButton;
};

using HBColorPickerViewPtr = std::shared_ptr<HBColorPickerView>;
