#pragma once

#include <string>
#include <vector>

#include "platform/ui/UIFont.h"

// A piece of one paragraph in one font.
struct TextFragment {
    std::string text;
    UIFont font;
};

// How a paragraph's lines are indented and where tabs stop, in points from the left edge.
struct TextParagraphLayout {
    double firstLineHeadIndent = 0;
    double headIndent = 0;
    std::vector<double> tabStops;
    // Tabs past the last stop advance to the next multiple of this; 0 means a space.
    double defaultTabInterval = 0;
};

struct TextLine {
    double width = 0;  // from the left edge, indent included
    double height = 0;
};

// Breaks one paragraph (text without line breaks) into lines that fit a width: at spaces
// where it can, inside a word only when the word alone is wider than a line. A paragraph
// without text is one empty line of its first font's height.
class TextLayout {
  public:
    static std::vector<TextLine> layoutParagraph(const std::vector<TextFragment>& fragments,
                                                 double width, const TextParagraphLayout& layout);
    // Splits text at line breaks ("\n", "\r\n", "\r", U+2028, U+2029).
    static std::vector<std::string> paragraphs(const std::string& text);
};
