#pragma once

#include "platform/ui/UIImage.h"
#include "platform/ui/UIView.h"

// Shows an image scaled to its bounds. Takes no touches, as on the platform.
class UIImageView : public UIView {
  public:
    explicit UIImageView(CGRect frame = CGRectZero);
    // A view sized to the image (in points) at the origin.
    explicit UIImageView(UIImagePtr image);
    std::string className() const override { return "UIImageView"; }

    const UIImagePtr& image() const { return image_; }
    void setImage(UIImagePtr image);

    CGSize sizeThatFits(CGSize size) const;
    void sizeToFit();

  private:
    UIImagePtr image_;
};

using UIImageViewPtr = std::shared_ptr<UIImageView>;
