#include "platform/ui/UILabel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/ui/TextLayout.h"

namespace {

// The smallest share of its size that a shrinking label goes down to when no minimum is set.
constexpr double kSmallestScale = 0.1;

}  // namespace

UILabel::UILabel(CGRect frame) : UIView(frame) {
    setUserInteractionEnabled(false);
}

void UILabel::changed() {
    setNeedsDisplay();
}

void UILabel::setText(std::string text) {
    if (text_ != text) {
        text_ = std::move(text);
        changed();
    }
}

void UILabel::setFont(UIFont font) {
    if (font_ != font) {
        font_ = font;
        changed();
    }
}

void UILabel::setTextColor(UIColor color) {
    if (textColor_ != color) {
        textColor_ = color;
        changed();
    }
}

void UILabel::setTextAlignment(NSTextAlignment alignment) {
    if (textAlignment_ != alignment) {
        textAlignment_ = alignment;
        changed();
    }
}

void UILabel::setNumberOfLines(long lines) {
    lines = std::max(0L, lines);
    if (numberOfLines_ != lines) {
        numberOfLines_ = lines;
        changed();
    }
}

void UILabel::setAdjustsFontSizeToFitWidth(bool adjusts) {
    if (adjustsFontSizeToFitWidth_ != adjusts) {
        adjustsFontSizeToFitWidth_ = adjusts;
        changed();
    }
}

void UILabel::setMinimumScaleFactor(double factor) {
    factor = std::clamp(factor, 0.0, 1.0);
    if (minimumScaleFactor_ != factor) {
        minimumScaleFactor_ = factor;
        changed();
    }
}

void UILabel::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        changed();
    }
}

void UILabel::setHighlighted(bool highlighted) {
    if (highlighted_ != highlighted) {
        highlighted_ = highlighted;
        changed();
    }
}

UIFont UILabel::displayedFont() const {
    if (!adjustsFontSizeToFitWidth_ || numberOfLines_ != 1) {
        return font_;
    }
    double needed = font_.widthOfString(text_);
    double available = bounds().size.width;
    if (needed <= available || needed <= 0) {
        return font_;
    }
    double scale = std::max(available / needed, std::max(minimumScaleFactor_, kSmallestScale));
    return font_.fontWithSize(font_.pointSize() * scale);
}

UIColor UILabel::displayedTextColor() const {
    return enabled_ ? textColor_ : textColor_.colorWithAlphaComponent(textColor_.alpha() * 0.5);
}

CGSize UILabel::sizeThatFits(CGSize size) const {
    if (text_.empty()) {
        return CGSize{0, 0};
    }
    double width = numberOfLines_ == 1 || size.width <= 0 ? std::numeric_limits<double>::infinity()
                                                          : size.width;
    double usedWidth = 0;
    double height = 0;
    long lines = 0;
    for (const std::string& paragraph : TextLayout::paragraphs(text_)) {
        for (const TextLine& line :
             TextLayout::layoutParagraph({{paragraph, font_}}, width, TextParagraphLayout{})) {
            if (numberOfLines_ != 0 && lines == numberOfLines_) {
                break;
            }
            usedWidth = std::max(usedWidth, line.width);
            height += line.height;
            ++lines;
        }
    }
    return CGSize{std::ceil(usedWidth), std::ceil(height)};
}

void UILabel::sizeToFit() {
    CGRect f = frame();
    f.size = sizeThatFits(f.size);
    setFrame(f);
}
