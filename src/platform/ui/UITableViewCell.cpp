#include "platform/ui/UITableViewCell.h"

#include <algorithm>

namespace {

constexpr double imageSide = 29;
constexpr double imageGap = 16;
constexpr double accessoryStandardWidth = 34;
constexpr double editingIndent = 38;
constexpr double reorderControlWidth = 40;

bool lightAppearance() {
    return UITraitCollection::current().userInterfaceStyle == UIUserInterfaceStyleLight;
}

}  // namespace

UITableViewCell::UITableViewCell(UITableViewCellStyle style, std::string reuseIdentifier)
    : UIView(CGRectMake(0, 0, 320, 44)),
      style_(style),
      reuseIdentifier_(std::move(reuseIdentifier)),
      contentView_(std::make_shared<UIView>(bounds())),
      textLabel_(std::make_shared<UILabel>()),
      detailTextLabel_(std::make_shared<UILabel>()),
      imageView_(std::make_shared<UIImageView>()) {
    applyAppearanceColors();
    if (style == UITableViewCellStyleSubtitle) {
        detailTextLabel_->setFont(UIFont::systemFontOfSize(12));
    }
    addSubview(contentView_);
    contentView_->addSubview(imageView_);
    contentView_->addSubview(textLabel_);
    if (showsDetailTextLabel()) {
        contentView_->addSubview(detailTextLabel_);
    }
    layoutSubviews();
}

void UITableViewCell::applyAppearanceColors() {
    bool light = lightAppearance();
    setBackgroundColor(light ? UIColor::whiteColor() : UIColor::blackColor());
    textLabel_->setTextColor(light ? UIColor::blackColor() : UIColor::whiteColor());
    detailTextLabel_->setTextColor(UIColor::grayColor());
}

void UITableViewCell::traitCollectionDidChange(const UITraitCollection& previous) {
    UIView::traitCollectionDidChange(previous);
    applyAppearanceColors();
}

void UITableViewCell::prepareForReuse() {
    selected_ = false;
    highlighted_ = false;
    editing_ = false;
}

void UITableViewCell::setAccessoryType(UITableViewCellAccessoryType type) {
    if (type != accessoryType_) {
        accessoryType_ = type;
        setNeedsLayout();
    }
}

void UITableViewCell::setAccessoryView(UIViewPtr view) {
    if (view == accessoryView_) {
        return;
    }
    if (accessoryView_) {
        accessoryView_->removeFromSuperview();
    }
    accessoryView_ = std::move(view);
    if (accessoryView_) {
        addSubview(accessoryView_);
    }
    setNeedsLayout();
}

void UITableViewCell::setSelected(bool selected, bool) {
    selected_ = selected;
}

void UITableViewCell::setHighlighted(bool highlighted, bool) {
    highlighted_ = highlighted;
}

void UITableViewCell::setLayoutMargins(UIEdgeInsets margins) {
    if (margins != layoutMargins_) {
        layoutMargins_ = margins;
        setNeedsLayout();
    }
}

void UITableViewCell::applyEditingState(bool editing, UITableViewCellEditingStyle style,
                                        bool movable, bool indent) {
    editing_ = editing;
    editingStyle_ = style;
    showsReorderControl_ = movable;
    shouldIndentWhileEditing_ = indent;
    layoutSubviews();
}

void UITableViewCell::setFrame(CGRect frame) {
    bool resized = frame.size != this->frame().size;
    UIView::setFrame(frame);
    if (resized) {
        layoutSubviews();
    }
}

double UITableViewCell::accessoryWidth() const {
    if (accessoryView_) {
        return accessoryView_->frame().size.width + layoutMargins_.right;
    }
    return accessoryType_ == UITableViewCellAccessoryNone ? 0 : accessoryStandardWidth;
}

// Content view: indented while editing, short of the accessory or the reorder control.
void UITableViewCell::layoutSubviews() {
    CGSize size = bounds().size;
    double lead = editing_ && shouldIndentWhileEditing_ ? editingIndent : 0;
    double trail = editing_ && showsReorderControl_ ? reorderControlWidth : accessoryWidth();
    double width = std::max(0.0, size.width - lead - trail);
    contentView_->setFrame(CGRectMake(lead, 0, width, size.height));
    if (accessoryView_) {
        CGSize own = accessoryView_->frame().size;
        accessoryView_->setFrame(
            CGRectMake(size.width - trail, (size.height - own.height) / 2, own.width, own.height));
    }
    double left = layoutMargins_.left;
    if (imageView_->image()) {
        imageView_->setFrame(CGRectMake(left, (size.height - imageSide) / 2, imageSide, imageSide));
        left += imageSide + imageGap;
    } else {
        imageView_->setFrame(CGRectZero);
    }
    placeLabels(left, width - (trail > 0 ? 0 : layoutMargins_.right));
}

// Default: one label over the width; Value1: caption left, detail right; Value2: a narrow
// detail-coloured caption then the detail; Subtitle: caption above detail.
void UITableViewCell::placeLabels(double left, double right) {
    double height = contentView_->bounds().size.height;
    double width = std::max(0.0, right - left);
    switch (style_) {
        case UITableViewCellStyleDefault:
            textLabel_->setFrame(CGRectMake(left, 0, width, height));
            break;
        case UITableViewCellStyleValue1:
            textLabel_->setFrame(CGRectMake(left, 0, width * 0.6, height));
            detailTextLabel_->setFrame(CGRectMake(left + width * 0.6, 0, width * 0.4, height));
            detailTextLabel_->setTextAlignment(NSTextAlignmentRight);
            break;
        case UITableViewCellStyleValue2:
            textLabel_->setFrame(CGRectMake(left, 0, width * 0.3, height));
            detailTextLabel_->setFrame(
                CGRectMake(left + width * 0.3 + 6, 0, std::max(0.0, width * 0.7 - 6), height));
            break;
        case UITableViewCellStyleSubtitle:
            textLabel_->setFrame(CGRectMake(left, 0, width, height * 0.55));
            detailTextLabel_->setFrame(CGRectMake(left, height * 0.55, width, height * 0.45));
            break;
    }
}
