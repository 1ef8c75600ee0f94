#include "platform/ui/UITextField.h"

namespace {

bool modeShows(UITextFieldViewMode mode, bool editing) {
    switch (mode) {
        case UITextFieldViewModeAlways:
            return true;
        case UITextFieldViewModeWhileEditing:
            return editing;
        case UITextFieldViewModeUnlessEditing:
            return !editing;
        default:
            return false;
    }
}

}  // namespace

UITextField::UITextField(CGRect frame) : UIControl(frame) {}

void UITextField::setText(std::string text) {
    if (text_ != text) {
        text_ = std::move(text);
        setNeedsDisplay();
    }
}

void UITextField::setPlaceholder(std::string placeholder) {
    if (placeholder_ != placeholder) {
        placeholder_ = std::move(placeholder);
        setNeedsDisplay();
    }
}

void UITextField::setTextColor(UIColor color) {
    if (textColor_ != color) {
        textColor_ = color;
        setNeedsDisplay();
    }
}

void UITextField::setFont(UIFont font) {
    if (font_ != font) {
        font_ = font;
        setNeedsDisplay();
    }
}

void UITextField::setTextAlignment(NSTextAlignment alignment) {
    if (textAlignment_ != alignment) {
        textAlignment_ = alignment;
        setNeedsDisplay();
    }
}

void UITextField::setBorderStyle(UITextBorderStyle style) {
    if (borderStyle_ != style) {
        borderStyle_ = style;
        setNeedsDisplay();
    }
}

void UITextField::setRightView(UIViewPtr view) {
    if (rightView_ == view) {
        return;
    }
    if (rightView_ && rightView_->superview() == this) {
        rightView_->removeFromSuperview();
    }
    rightView_ = std::move(view);
    if (rightView_) {
        addSubview(rightView_);
        placeRightView();
    }
}

void UITextField::setRightViewMode(UITextFieldViewMode mode) {
    if (rightViewMode_ != mode) {
        rightViewMode_ = mode;
        placeRightView();
    }
}

bool UITextField::isRightViewVisible() const {
    return rightView_ && modeShows(rightViewMode_, editing_);
}

bool UITextField::isClearButtonVisible() const {
    return !text_.empty() && modeShows(clearButtonMode_, editing_);
}

void UITextField::placeRightView() {
    if (!rightView_) {
        return;
    }
    CGRect b = bounds();
    CGSize size = rightView_->frame().size;
    rightView_->setFrame(CGRectMake(b.size.width - size.width, (b.size.height - size.height) / 2,
                                    size.width, size.height));
    rightView_->setHidden(!isRightViewVisible());
}

void UITextField::layoutSubviews() {
    placeRightView();
}

void UITextField::setFrame(CGRect frame) {
    UIControl::setFrame(frame);
    placeRightView();
}

bool UITextField::becomeFirstResponder() {
    auto keepAlive = retainWhileSending();
    if (editing_) {
        return true;
    }
    if (!isEnabled() || (delegate_ && !delegate_->textFieldShouldBeginEditing(this))) {
        return false;
    }
    editing_ = true;
    placeRightView();
    if (delegate_) {
        delegate_->textFieldDidBeginEditing(this);
    }
    sendActionsForControlEvents(UIControlEventEditingDidBegin);
    return true;
}

bool UITextField::resignFirstResponder() {
    auto keepAlive = retainWhileSending();
    if (!editing_) {
        return true;
    }
    if (delegate_ && !delegate_->textFieldShouldEndEditing(this)) {
        return false;
    }
    editing_ = false;
    placeRightView();
    if (delegate_) {
        delegate_->textFieldDidEndEditing(this);
    }
    sendActionsForControlEvents(UIControlEventEditingDidEnd);
    return true;
}

bool UITextField::userTyped(std::string text) {
    auto keepAlive = retainWhileSending();
    if (!becomeFirstResponder()) {
        return false;
    }
    if (text_ != text) {
        setText(std::move(text));
        sendActionsForControlEvents(UIControlEventEditingChanged);
    }
    return true;
}

void UITextField::userEndedEditing() {
    resignFirstResponder();
}

void UITextField::userPressedReturn() {
    auto keepAlive = retainWhileSending();
    if (!becomeFirstResponder() || (delegate_ && !delegate_->textFieldShouldReturn(this))) {
        return;
    }
    sendActionsForControlEvents(UIControlEventEditingDidEndOnExit);
    if (allControlEvents() & UIControlEventEditingDidEndOnExit) {
        resignFirstResponder();
    }
}

void UITextField::userClearedText() {
    auto keepAlive = retainWhileSending();
    if (!editing_ || text_.empty() || (delegate_ && !delegate_->textFieldShouldClear(this))) {
        return;
    }
    setText("");
    sendActionsForControlEvents(UIControlEventEditingChanged);
}

void UITextField::controlStateChanged() {
    auto keepAlive = retainWhileSending();
    if (!isEnabled() && editing_) {
        editing_ = false;
        placeRightView();
        if (delegate_) {
            delegate_->textFieldDidEndEditing(this);
        }
        sendActionsForControlEvents(UIControlEventEditingDidEnd);
    }
}
