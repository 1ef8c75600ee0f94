#include "platform/ui/TextLayout.h"

#include <algorithm>
#include <cmath>

namespace {

enum class TokenKind { Word, Space, Tab };

struct Token {
    TokenKind kind;
    std::string text;
    UIFont font;
};

TokenKind kindOf(char c) {
    return c == ' ' ? TokenKind::Space : c == '\t' ? TokenKind::Tab : TokenKind::Word;
}

// Words, runs of spaces and single tabs, each in its fragment's font.
std::vector<Token> tokenize(const std::vector<TextFragment>& fragments) {
    std::vector<Token> tokens;
    for (const auto& fragment : fragments) {
        bool fresh = true;
        for (char c : fragment.text) {
            TokenKind kind = kindOf(c);
            if (fresh || kind == TokenKind::Tab || tokens.back().kind != kind) {
                tokens.push_back(Token{kind, {}, fragment.font});
                fresh = false;
            }
            tokens.back().text += c;
        }
    }
    return tokens;
}

std::size_t codePointLength(const std::string& text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        ++end;
    }
    return end - at;
}

class LineBreaker {
  public:
    LineBreaker(double width, const TextParagraphLayout& layout, const UIFont& firstFont)
        : width_(width), layout_(layout), x_(layout.firstLineHeadIndent) {
        height_ = firstFont.lineHeight();
    }

    // Adds a chunk of word tokens with no break opportunity between them.
    void addWord(const std::vector<const Token*>& chunk) {
        double chunkWidth = 0;
        for (const Token* token : chunk) {
            chunkWidth += token->font.widthOfString(token->text);
        }
        if (x_ + chunkWidth > width_ && hasContent_) {
            newLine();
        }
        if (x_ + chunkWidth <= width_) {
            for (const Token* token : chunk) {
                place(token->font.widthOfString(token->text), token->font);
            }
            return;
        }
        for (const Token* token : chunk) {
            addByCodePoints(*token);
        }
    }

    void addSpace(const Token& token) {
        x_ += token.font.widthOfString(token.text);
        height_ = std::max(height_, token.font.lineHeight());
    }

    void addTab(const Token& token) {
        double stop = nextTabStop(x_, token.font);
        if (stop > width_ && hasContent_) {
            newLine();
            stop = nextTabStop(x_, token.font);
        }
        x_ = stop;
        height_ = std::max(height_, token.font.lineHeight());
    }

    std::vector<TextLine> finish() {
        lines_.push_back(TextLine{contentWidth_, height_});
        return std::move(lines_);
    }

  private:
    void place(double advance, const UIFont& font) {
        x_ += advance;
        contentWidth_ = x_;
        height_ = std::max(height_, font.lineHeight());
        hasContent_ = true;
    }

    // A word wider than a whole line is broken between characters, at least one a line.
    void addByCodePoints(const Token& token) {
        for (std::size_t at = 0; at < token.text.size();) {
            std::size_t length = codePointLength(token.text, at);
            double advance = token.font.widthOfString(token.text.substr(at, length));
            if (x_ + advance > width_ && hasContent_) {
                newLine();
            }
            place(advance, token.font);
            at += length;
        }
    }

    double nextTabStop(double x, const UIFont& font) const {
        for (double stop : layout_.tabStops) {
            if (stop > x) {
                return stop;
            }
        }
        double interval = layout_.defaultTabInterval;
        if (interval <= 0) {
            return x + font.widthOfString(" ");
        }
        return (std::floor(x / interval) + 1) * interval;
    }

    void newLine() {
        lines_.push_back(TextLine{contentWidth_, height_});
        x_ = layout_.headIndent;
        contentWidth_ = 0;
        height_ = 0;
        hasContent_ = false;
    }

    double width_;
    const TextParagraphLayout& layout_;
    double x_;
    double contentWidth_ = 0;
    double height_ = 0;
    bool hasContent_ = false;
    std::vector<TextLine> lines_;
};

}  // namespace

std::vector<TextLine> TextLayout::layoutParagraph(const std::vector<TextFragment>& fragments,
                                                  double width, const TextParagraphLayout& layout) {
    UIFont firstFont = fragments.empty() ? UIFont::defaultLabelFont() : fragments.front().font;
    LineBreaker breaker(width, layout, firstFont);
    std::vector<Token> tokens = tokenize(fragments);
    for (std::size_t i = 0; i < tokens.size();) {
        if (tokens[i].kind == TokenKind::Space) {
            breaker.addSpace(tokens[i++]);
        } else if (tokens[i].kind == TokenKind::Tab) {
            breaker.addTab(tokens[i++]);
        } else {
            std::vector<const Token*> chunk;
            while (i < tokens.size() && tokens[i].kind == TokenKind::Word) {
                chunk.push_back(&tokens[i++]);
            }
            breaker.addWord(chunk);
        }
    }
    return breaker.finish();
}

std::vector<std::string> TextLayout::paragraphs(const std::string& text) {
    std::vector<std::string> result(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool separator =
            text.compare(i, 3, "\xE2\x80\xA8") == 0 || text.compare(i, 3, "\xE2\x80\xA9") == 0;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        if (separator) {
            i += 2;
        }
        if (c == '\n' || c == '\r' || separator) {
            result.emplace_back();
        } else {
            result.back() += c;
        }
    }
    return result;
}
