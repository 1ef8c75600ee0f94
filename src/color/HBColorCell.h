#pragma once

#include <array>
#include <optional>
#include <string>

#include "color/HBColorTarget.h"
#include "model/HBColorValues.h"
#include "platform/foundation/NSNumberFormatter.h"
#include "platform/prefs/PSTableCell.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISlider.h"

class HBColorPickerView;
class HBPreferenceBinding;

// The tall row of the colour selector page: edits one stored label colour in place. It shows
// the colour as hex text, previews it as the extension's three labels (mailbox list, message
// list, message view) at their opacities, and offers Red, Green and Blue sliders with their
// numbers and an embedded colour picker of the user's "colorPickerType". The colour lives in
// the three sliders; everything else follows them. Sliders and picker preview live and save
// when the finger lifts; tapping the hex text or a number asks for a typed value. The row's
// "key" says where the colour is stored (see HBColorTarget).
class HBColorCell : public PSTableCell {
  public:
    HBColorCell(UITableViewCellStyle style, std::string reuseIdentifier, PSSpecifierPtr specifier);
    ~HBColorCell() override;
    std::string className() const override { return "HBColorCell"; }
    // Shows the colour stored now (another program may have written it), except while the
    // user holds one of the cell's sliders.
    void refreshCellContentsWithSpecifier(const PSSpecifierPtr& specifier) override;

    // Redraws the previews, the hex text and the previews' text colours from the sliders;
    // with tellPicker, moves the picker to the colour too.
    void setColors(bool tellPicker);
    void sliderValueChangedAction(UISlider* slider);
    void sliderTouchUpInsideOutsideAction(UISlider* slider);
    void askUserForInputHex();
    void askUserForInputR();
    void askUserForInputG();
    void askUserForInputB();
    bool useWhiteFont(int red, int green, int blue, float opacity) const;

    // False when the colour cannot be stored safely where its row names it: it is shown but
    // cannot be changed.
    bool isEditable() const { return _editable; }

    const UILabelPtr& hexColorField() const { return _hexColorField; }
    const UILabelPtr& mailBoxColorField() const { return _mailBoxColorField; }
    const UILabelPtr& listColorField() const { return _listColorField; }
    const UILabelPtr& messageColorField() const { return _messageColorField; }
    const UILabelPtr& titleR() const { return _titleR; }
    const UILabelPtr& titleG() const { return _titleG; }
    const UILabelPtr& titleB() const { return _titleB; }
    const UILabelPtr& valueR() const { return _valueR; }
    const UILabelPtr& valueG() const { return _valueG; }
    const UILabelPtr& valueB() const { return _valueB; }
    const UISliderPtr& sliderR() const { return _sliderR; }
    const UISliderPtr& sliderG() const { return _sliderG; }
    const UISliderPtr& sliderB() const { return _sliderB; }
    const UIButtonPtr& hexButton() const { return _hexButton; }
    const UIButtonPtr& buttonR() const { return _buttonR; }
    const UIButtonPtr& buttonG() const { return _buttonG; }
    const UIButtonPtr& buttonB() const { return _buttonB; }
    const std::shared_ptr<HBColorPickerView>& colorPickerView() const { return _colorPickerView; }

    float min() const { return _min; }
    float max() const { return _max; }
    float mailBoxAlphaLevel() const { return _mailBoxAlphaLevel; }
    float listAlphaLevel() const { return _listAlphaLevel; }
    float messageAlphaLevel() const { return _messageAlphaLevel; }
    const std::string& specifierObject() const { return _specifierObject; }
    const std::optional<std::string>& defaults() const { return _defaults; }
    const std::optional<std::string>& postNotification() const { return _postNotification; }
    std::optional<std::string> key1() const { return _target.key1(); }
    int colorPickerType() const { return _colorPickerType; }

    // Chooses the colours for the new appearance and recolours the labels and buttons.
    void traitCollectionDidChange(const UITraitCollection& previous) override;

  private:
    // One channel's row: title, number, the button over the number, slider.
    struct Channel {
        UILabelPtr& title;
        UILabelPtr& value;
        UIButtonPtr& button;
        UISliderPtr& slider;
        const char* name;
        void (HBColorCell::*ask)();
    };

    void chooseAppearance();
    void applyAppearance();
    void readRow(const PSSpecifier& specifier);
    void buildHexField(double width);
    void buildPreviews(double width);
    void buildChannel(const Channel& channel, double width, double top);
    UIButtonPtr makeButton(CGRect frame, unsigned autoresizing, void (HBColorCell::*action)());
    std::string loadColorText();
    void showColorText(const std::string& text);
    void buildPicker(double width);
    void addSubviewsInOrder();
    void lockIfNotEditable();

    void showSliders(HBChannels channels);
    HBChannels sliderChannels() const;
    void showValue(UISlider* slider);
    void paintPreviewBackgrounds(HBChannels channels);
    void paintPreviewTexts(HBChannels channels);
    void save();
    HBPreferenceBinding binding() const;
    void pickerChanged(const UIColor& color);
    void applyTypedHex(const std::string& text);
    void askUserForChannel(UISliderPtr HBColorCell::*slider, const char* name);
    void applyTypedChannel(UISlider* slider, const std::string& text);
    UILabel* valueLabelFor(const UISlider* slider) const;

    UILabelPtr _hexColorField;
    UILabelPtr _mailBoxColorField;
    UILabelPtr _listColorField;
    UILabelPtr _messageColorField;
    UILabelPtr _titleR;
    UILabelPtr _titleG;
    UILabelPtr _titleB;
    UILabelPtr _valueR;
    UILabelPtr _valueG;
    UILabelPtr _valueB;
    UISliderPtr _sliderR;
    UISliderPtr _sliderG;
    UISliderPtr _sliderB;
    std::shared_ptr<HBColorPickerView> _colorPickerView;
    float _min = 0;
    float _max = 255;
    float _mailBoxAlphaLevel = 0.25f;
    float _listAlphaLevel = 0.25f;
    float _messageAlphaLevel = 0.25f;
    NSNumberFormatter _formatter;
    std::string _specifierObject;
    std::optional<std::string> _defaults;
    std::optional<std::string> _postNotification;
    HBColorTarget _target{""};
    int _colorPickerType = 0;

    UIButtonPtr _hexButton;
    UIButtonPtr _buttonR;
    UIButtonPtr _buttonG;
    UIButtonPtr _buttonB;
    std::optional<std::string> _typeText;
    bool _editable = true;
    UIColor _primaryColor;
    UIColor _accentColor;
    UIColor _buttonShade;
};
