#include "platform/ui/UITextView.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/TextLayout.h"

namespace {

// One paragraph of the text: its fragments and the style of its first character.
struct Paragraph {
    std::vector<TextFragment> fragments;
    NSParagraphStyle style;
    UIFont font;
};

class ParagraphSplitter {
  public:
    explicit ParagraphSplitter(const UIFont& defaultFont) : defaultFont_(defaultFont) {}

    std::vector<Paragraph> split(const NSAttributedString& text) {
        for (const auto& run : text.runs()) {
            addRun(run);
        }
        // The text ends in an open paragraph (empty after a final line break), in the
        // attributes of the last character.
        if (!open_) {
            start(text.runs().empty() ? NSTextAttributes{} : text.runs().back().attributes);
        }
        return std::move(paragraphs_);
    }

  private:
    void addRun(const NSAttributedRun& run) {
        std::size_t begin = 0;
        while (begin <= run.text.size()) {
            std::size_t end = run.text.find('\n', begin);
            std::size_t stop = end == std::string::npos ? run.text.size() : end;
            if (stop > begin || end != std::string::npos) {
                if (!open_) {
                    start(run.attributes);
                }
                UIFont font = run.attributes.font.value_or(defaultFont_);
                paragraphs_.back().fragments.push_back(
                    {run.text.substr(begin, stop - begin), font});
            }
            if (end == std::string::npos) {
                break;
            }
            open_ = false;
            begin = end + 1;
        }
    }

    void start(const NSTextAttributes& attributes) {
        Paragraph paragraph;
        paragraph.style = attributes.paragraphStyle.value_or(NSParagraphStyle());
        paragraph.font = attributes.font.value_or(defaultFont_);
        paragraphs_.push_back(std::move(paragraph));
        open_ = true;
    }

    UIFont defaultFont_;
    std::vector<Paragraph> paragraphs_;
    bool open_ = false;
};

TextParagraphLayout layoutOf(const NSParagraphStyle& style) {
    TextParagraphLayout layout;
    layout.firstLineHeadIndent = style.firstLineHeadIndent();
    layout.headIndent = style.headIndent();
    for (const NSTextTab& tab : style.tabStops()) {
        layout.tabStops.push_back(tab.location());
    }
    std::sort(layout.tabStops.begin(), layout.tabStops.end());
    layout.defaultTabInterval = style.defaultTabInterval();
    return layout;
}

double heightOf(const Paragraph& paragraph, double width) {
    std::vector<TextFragment> fragments = paragraph.fragments;
    if (fragments.empty()) {
        fragments.push_back({"", paragraph.font});
    }
    auto lines = TextLayout::layoutParagraph(fragments, width, layoutOf(paragraph.style));
    double height = paragraph.style.lineSpacing() * static_cast<double>(lines.size() - 1);
    for (const TextLine& line : lines) {
        height += line.height;
    }
    return height;
}

}  // namespace

void UITextView::changed() {
    setNeedsDisplay();
}

void UITextView::setText(std::string text) {
    setAttributedText(NSAttributedString(std::move(text)));
}

void UITextView::setAttributedText(NSAttributedString text) {
    if (attributedText_ != text) {
        attributedText_ = std::move(text);
        changed();
    }
}

void UITextView::setFont(UIFont font) {
    if (font_ != font) {
        font_ = font;
        changed();
    }
}

void UITextView::setTextColor(UIColor color) {
    if (textColor_ != color) {
        textColor_ = color;
        changed();
    }
}

void UITextView::setTextAlignment(NSTextAlignment alignment) {
    if (textAlignment_ != alignment) {
        textAlignment_ = alignment;
        changed();
    }
}

void UITextView::setTextContainerInset(UIEdgeInsets inset) {
    if (textContainerInset_ != inset) {
        textContainerInset_ = inset;
        changed();
    }
}

CGSize UITextView::sizeThatFits(CGSize size) const {
    const UIEdgeInsets& inset = textContainerInset_;
    double width = size.width - inset.left - inset.right - 2 * lineFragmentPadding;
    width = std::max(width, 1.0);
    std::vector<Paragraph> paragraphs = ParagraphSplitter(font_).split(attributedText_);
    double height = 0;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const NSParagraphStyle& style = paragraphs[i].style;
        if (i > 0) {
            height += style.paragraphSpacingBefore();
        }
        height += heightOf(paragraphs[i], width);
        if (i + 1 < paragraphs.size()) {
            height += style.paragraphSpacing();
        }
    }
    return CGSize{size.width, std::ceil(height + inset.top + inset.bottom)};
}

void UITextView::sizeToFit() {
    CGRect f = frame();
    f.size = sizeThatFits(f.size);
    setFrame(f);
}
