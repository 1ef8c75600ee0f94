#include "platform/ui/UIButton.h"

#include <cmath>

namespace {

// The tint of system buttons, and the sizes the platform gives their titles.
UIColor systemTint() {
    return UIColor::colorWithRed(0, 122.0 / 255, 1, 1);
}
constexpr double kSystemTitleSize = 15;
constexpr double kCustomTitleSize = 18;

template <typename Map>
auto lookUp(const Map& map, unsigned state) -> const typename Map::mapped_type* {
    auto found = map.find(state);
    if (found == map.end()) {
        found = map.find(UIControlStateNormal);
    }
    return found == map.end() ? nullptr : &found->second;
}

}  // namespace

UIButtonPtr UIButton::buttonWithType(UIButtonType type) {
    return std::make_shared<UIButton>(CGRectZero, type);
}

UIButton::UIButton(CGRect frame, UIButtonType type)
    : UIControl(frame), buttonType_(type), titleLabel_(std::make_shared<UILabel>()) {
    bool system = type != UIButtonTypeCustom;
    titleLabel_->setFont(UIFont::systemFontOfSize(system ? kSystemTitleSize : kCustomTitleSize));
    titleLabel_->setTextAlignment(NSTextAlignmentCenter);
    addSubview(titleLabel_);
    layoutSubviews();
    showCurrentTitle();
}

void UIButton::setTitle(std::string title, unsigned state) {
    titles_[state] = std::move(title);
    showCurrentTitle();
}

std::string UIButton::titleForState(unsigned state) const {
    const std::string* title = lookUp(titles_, state);
    return title ? *title : std::string();
}

void UIButton::setTitleColor(OptionalColor color, unsigned state) {
    if (color) {
        titleColors_[state] = *color;
    } else {
        titleColors_.erase(state);
    }
    showCurrentTitle();
}

OptionalColor UIButton::titleColorForState(unsigned state) const {
    const UIColor* color = lookUp(titleColors_, state);
    return color ? OptionalColor(*color) : std::nullopt;
}

UIColor UIButton::currentTitleColor() const {
    if (OptionalColor color = titleColorForState(state())) {
        return *color;
    }
    return buttonType_ == UIButtonTypeCustom ? UIColor::whiteColor() : systemTint();
}

void UIButton::showCurrentTitle() {
    titleLabel_->setText(currentTitle());
    titleLabel_->setTextColor(currentTitleColor());
    setNeedsDisplay();
}

void UIButton::controlStateChanged() {
    showCurrentTitle();
}

CGSize UIButton::sizeThatFits(CGSize size) const {
    CGSize title = titleLabel_->sizeThatFits(size);
    return CGSize{std::ceil(title.width), std::ceil(std::max(title.height, 30.0))};
}

void UIButton::sizeToFit() {
    CGRect f = frame();
    f.size = sizeThatFits(f.size);
    setFrame(f);
}

void UIButton::layoutSubviews() {
    titleLabel_->setFrame(bounds());
}

void UIButton::setFrame(CGRect frame) {
    UIControl::setFrame(frame);
    layoutSubviews();
}
