#pragma once

#include <string>

#include "platform/ui/NSTextAlignment.h"
#include "platform/ui/UIControl.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UITextFieldDelegate.h"

enum UITextFieldViewMode : long {
    UITextFieldViewModeNever = 0,
    UITextFieldViewModeWhileEditing = 1,
    UITextFieldViewModeUnlessEditing = 2,
    UITextFieldViewModeAlways = 3,
};

enum UITextBorderStyle : long {
    UITextBorderStyleNone = 0,
    UITextBorderStyleLine = 1,
    UITextBorderStyleBezel = 2,
    UITextBorderStyleRoundedRect = 3,
};

enum UIKeyboardType : long {
    UIKeyboardTypeDefault = 0,
    UIKeyboardTypeASCIICapable = 1,
    UIKeyboardTypeNumbersAndPunctuation = 2,
    UIKeyboardTypeURL = 3,
    UIKeyboardTypeNumberPad = 4,
    UIKeyboardTypePhonePad = 5,
    UIKeyboardTypeNamePhonePad = 6,
    UIKeyboardTypeEmailAddress = 7,
    UIKeyboardTypeDecimalPad = 8,
};

enum UIReturnKeyType : long {
    UIReturnKeyDefault = 0,
    UIReturnKeyGo = 1,
    UIReturnKeyGoogle = 2,
    UIReturnKeyJoin = 3,
    UIReturnKeyNext = 4,
    UIReturnKeyRoute = 5,
    UIReturnKeySearch = 6,
    UIReturnKeySend = 7,
    UIReturnKeyYahoo = 8,
    UIReturnKeyDone = 9,
    UIReturnKeyEmergencyCall = 10,
};

// One line of editable text. The delegate is not owned. The user entry points (userTyped,
// userEndedEditing, userPressedReturn...) stand for the keyboard and send the editing events;
// setText from code sends nothing.
class UITextField : public UIControl {
  public:
    explicit UITextField(CGRect frame = CGRectZero);
    std::string className() const override { return "UITextField"; }

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    const UIColor& textColor() const { return textColor_; }
    void setTextColor(UIColor color);
    const UIFont& font() const { return font_; }
    void setFont(UIFont font);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);
    UITextFieldViewMode clearButtonMode() const { return clearButtonMode_; }
    void setClearButtonMode(UITextFieldViewMode mode) { clearButtonMode_ = mode; }
    UITextBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(UITextBorderStyle style);
    UIKeyboardType keyboardType() const { return keyboardType_; }
    void setKeyboardType(UIKeyboardType type) { keyboardType_ = type; }
    UIReturnKeyType returnKeyType() const { return returnKeyType_; }
    void setReturnKeyType(UIReturnKeyType type) { returnKeyType_ = type; }
    bool secureTextEntry() const { return secureTextEntry_; }
    void setSecureTextEntry(bool secure) { secureTextEntry_ = secure; }

    // A view shown at the right end inside the field (a subview of it).
    const UIViewPtr& rightView() const { return rightView_; }
    void setRightView(UIViewPtr view);
    UITextFieldViewMode rightViewMode() const { return rightViewMode_; }
    void setRightViewMode(UITextFieldViewMode mode);
    // Whether the right view shows now, by its mode and the editing state.
    bool isRightViewVisible() const;
    bool isClearButtonVisible() const;

    UITextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(UITextFieldDelegate* delegate) { delegate_ = delegate; }

    bool isEditing() const { return editing_; }
    bool isFirstResponder() const { return editing_; }
    // Starts editing (asks the delegate); false when disabled or refused.
    bool becomeFirstResponder();
    // Ends editing (asks the delegate); false when refused. True when not editing.
    bool resignFirstResponder();

    // The keyboard: begin editing when needed, replace the text, send EditingChanged.
    // Ignored (false) when the field cannot be edited.
    bool userTyped(std::string text);
    // The user left the field: the delegate and EditingDidEnd.
    void userEndedEditing();
    // The return key: asks the delegate; when it agrees, sends EditingDidEndOnExit and, if
    // anything listens for that, ends editing.
    void userPressedReturn();
    // The clear button: asks the delegate, empties the text, sends EditingChanged.
    void userClearedText();

    void layoutSubviews() override;
    void setFrame(CGRect frame) override;

  protected:
    void controlStateChanged() override;

  private:
    void placeRightView();

    std::string text_;
    std::string placeholder_;
    UIColor textColor_ = UIColor::blackColor();
    UIFont font_ = UIFont::defaultLabelFont();
    NSTextAlignment textAlignment_ = NSTextAlignmentNatural;
    UITextFieldViewMode clearButtonMode_ = UITextFieldViewModeNever;
    UITextBorderStyle borderStyle_ = UITextBorderStyleNone;
    UIKeyboardType keyboardType_ = UIKeyboardTypeDefault;
    UIReturnKeyType returnKeyType_ = UIReturnKeyDefault;
    bool secureTextEntry_ = false;
    UIViewPtr rightView_;
    UITextFieldViewMode rightViewMode_ = UITextFieldViewModeNever;
    UITextFieldDelegate* delegate_ = nullptr;
    bool editing_ = false;
};

using UITextFieldPtr = std::shared_ptr<UITextField>;
