#pragma once

#include "platform/ui/NSAttributedString.h"
#include "platform/ui/UIView.h"

// Text of many lines with per-run attributes. Plain text set through setText takes the view's
// font, colour and alignment; attributes absent from a run take them too.
class UITextView : public UIView {
  public:
    // The default inside margin of a text view, and the padding at each end of a line.
    static constexpr UIEdgeInsets defaultTextContainerInset{8, 0, 8, 0};
    static constexpr double lineFragmentPadding = 5;

    explicit UITextView(CGRect frame = CGRectZero) : UIView(frame) {}
    std::string className() const override { return "UITextView"; }

    std::string text() const { return attributedText_.string(); }
    void setText(std::string text);
    const NSAttributedString& attributedText() const { return attributedText_; }
    void setAttributedText(NSAttributedString text);
    const UIFont& font() const { return font_; }
    void setFont(UIFont font);
    const UIColor& textColor() const { return textColor_; }
    void setTextColor(UIColor color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);

    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    UIEdgeInsets textContainerInset() const { return textContainerInset_; }
    void setTextContainerInset(UIEdgeInsets inset);
    UIEdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(UIEdgeInsets inset) { contentInset_ = inset; }

    // The size the text needs within the given width: the text wrapped at that width (less
    // the insets and line padding), with indents, tab stops and paragraph spacing, plus the
    // insets. The width returned is the one given.
    CGSize sizeThatFits(CGSize size) const;
    void sizeToFit();

  private:
    void changed();

    NSAttributedString attributedText_;
    UIFont font_ = UIFont::systemFontOfSize(12);
    UIColor textColor_ = UIColor::blackColor();
    NSTextAlignment textAlignment_ = NSTextAlignmentNatural;
    bool editable_ = true;
    bool selectable_ = true;
    bool scrollEnabled_ = true;
    UIEdgeInsets textContainerInset_ = defaultTextContainerInset;
    UIEdgeInsets contentInset_;
};

using UITextViewPtr = std::shared_ptr<UITextView>;
