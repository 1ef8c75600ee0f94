#pragma once

#include <vector>

#include "platform/ui/NSTextAlignment.h"
#include "platform/ui/NSTextTab.h"

// How paragraphs are set: spacing around them, indents and tab stops, in points. A value;
// NSMutableParagraphStyle adds the setters.
class NSParagraphStyle {
  public:
    static NSParagraphStyle defaultParagraphStyle() { return NSParagraphStyle(); }
    // The platform's default stops: every 28 points up to 336, left aligned.
    static std::vector<NSTextTab> defaultTabStops();

    NSTextAlignment alignment() const { return alignment_; }
    double lineSpacing() const { return lineSpacing_; }
    double paragraphSpacing() const { return paragraphSpacing_; }
    double paragraphSpacingBefore() const { return paragraphSpacingBefore_; }
    double firstLineHeadIndent() const { return firstLineHeadIndent_; }
    double headIndent() const { return headIndent_; }
    const std::vector<NSTextTab>& tabStops() const { return tabStops_; }
    double defaultTabInterval() const { return defaultTabInterval_; }

    bool operator==(const NSParagraphStyle&) const = default;

  protected:
    NSTextAlignment alignment_ = NSTextAlignmentNatural;
    double lineSpacing_ = 0;
    double paragraphSpacing_ = 0;
    double paragraphSpacingBefore_ = 0;
    double firstLineHeadIndent_ = 0;
    double headIndent_ = 0;
    std::vector<NSTextTab> tabStops_ = defaultTabStops();
    double defaultTabInterval_ = 0;
};

class NSMutableParagraphStyle : public NSParagraphStyle {
  public:
    NSMutableParagraphStyle() = default;
    explicit NSMutableParagraphStyle(const NSParagraphStyle& style) : NSParagraphStyle(style) {}

    void setAlignment(NSTextAlignment alignment) { alignment_ = alignment; }
    void setLineSpacing(double spacing) { lineSpacing_ = spacing; }
    void setParagraphSpacing(double spacing) { paragraphSpacing_ = spacing; }
    void setParagraphSpacingBefore(double spacing) { paragraphSpacingBefore_ = spacing; }
    void setFirstLineHeadIndent(double indent) { firstLineHeadIndent_ = indent; }
    void setHeadIndent(double indent) { headIndent_ = indent; }
    void setTabStops(std::vector<NSTextTab> stops) { tabStops_ = std::move(stops); }
    void addTabStop(NSTextTab stop) { tabStops_.push_back(stop); }
    void setDefaultTabInterval(double interval) { defaultTabInterval_ = interval; }
};
