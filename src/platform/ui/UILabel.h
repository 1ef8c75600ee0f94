#pragma once

#include <string>

#include "platform/ui/NSTextAlignment.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UIView.h"

// Static text. Takes no touches, so taps reach the views beneath it.
class UILabel : public UIView {
  public:
    explicit UILabel(CGRect frame = CGRectZero);
    std::string className() const override { return "UILabel"; }

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const UIFont& font() const { return font_; }
    void setFont(UIFont font);
    const UIColor& textColor() const { return textColor_; }
    void setTextColor(UIColor color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);
    // 0 means as many lines as the text needs.
    long numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(long lines);
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSizeToFitWidth_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    double minimumScaleFactor() const { return minimumScaleFactor_; }
    void setMinimumScaleFactor(double factor);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);

    // The font the text is shown in: the label's font, shrunk when the label adjusts its font
    // size and one line of text is wider than the bounds.
    UIFont displayedFont() const;
    // The colour the text is shown in: greyed when disabled.
    UIColor displayedTextColor() const;

    // The size the text needs: one line ignores the width; more lines wrap within it.
    CGSize sizeThatFits(CGSize size) const;
    void sizeToFit();

  private:
    void changed();

    std::string text_;
    UIFont font_ = UIFont::defaultLabelFont();
    UIColor textColor_ = UIColor::blackColor();
    NSTextAlignment textAlignment_ = NSTextAlignmentNatural;
    long numberOfLines_ = 1;
    bool adjustsFontSizeToFitWidth_ = false;
    double minimumScaleFactor_ = 0;
    bool enabled_ = true;
    bool highlighted_ = false;
};

using UILabelPtr = std::shared_ptr<UILabel>;
