#include "platform/ui/UITableViewHeaderFooterView.h"

#include <algorithm>

UITableViewHeaderFooterView::UITableViewHeaderFooterView(std::string reuseIdentifier)
    : reuseIdentifier_(std::move(reuseIdentifier)),
      contentView_(std::make_shared<UIView>()),
      textLabel_(std::make_shared<UILabel>()) {
    textLabel_->setFont(UIFont::systemFontOfSize(13));
    applyAppearanceColors();
    addSubview(contentView_);
    contentView_->addSubview(textLabel_);
}

void UITableViewHeaderFooterView::setFrame(CGRect frame) {
    UIView::setFrame(frame);
    CGSize size = frame.size;
    contentView_->setFrame(CGRectMake(0, 0, size.width, size.height));
    textLabel_->setFrame(CGRectMake(16, 0, std::max(0.0, size.width - 32), size.height));
}

void UITableViewHeaderFooterView::applyAppearanceColors() {
    bool light = UITraitCollection::current().userInterfaceStyle == UIUserInterfaceStyleLight;
    textLabel_->setTextColor(light ? UIColor::darkGrayColor() : UIColor::lightGrayColor());
}

void UITableViewHeaderFooterView::traitCollectionDidChange(const UITraitCollection& previous) {
    UIView::traitCollectionDidChange(previous);
    applyAppearanceColors();
}
