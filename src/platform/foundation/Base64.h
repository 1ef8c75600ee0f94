#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Base64 as property lists carry it: written in lines, read back with any whitespace between
// the characters but nothing else outside the alphabet.
class Base64 {
  public:
    // The encoding of `bytes` on one line, padded, without a newline.
    static std::string encode(std::string_view bytes);
    // Appends the encoding of `bytes` to `out`, `bytesPerLine` input bytes a line, each line
    // preceded by `indent` and ended by a newline.
    static void appendLines(std::string& out, const std::vector<std::uint8_t>& bytes,
                            std::size_t bytesPerLine, std::string_view indent);
    // Null when the text holds characters outside the alphabet or is wrongly padded.
    static std::optional<std::vector<std::uint8_t>> decode(std::string_view text);
};
