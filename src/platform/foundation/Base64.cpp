#include "platform/foundation/Base64.h"

#include <array>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::int8_t kInvalid = -1;
constexpr std::int8_t kPad = -2;
constexpr std::int8_t kSpace = -3;

constexpr std::array<std::int8_t, 256> makeTable() {
    std::array<std::int8_t, 256> table{};
    table.fill(kInvalid);
    for (int i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    }
    table['='] = kPad;
    for (char c : {' ', '\t', '\n', '\r'}) {
        table[static_cast<unsigned char>(c)] = kSpace;
    }
    return table;
}

constexpr std::array<std::int8_t, 256> kTable = makeTable();

void appendQuantum(std::string& out, const std::uint8_t* in, std::size_t n) {
    std::uint32_t bits = std::uint32_t{in[0]} << 16;
    if (n > 1) {
        bits |= std::uint32_t{in[1]} << 8;
    }
    if (n > 2) {
        bits |= in[2];
    }
    out.push_back(kAlphabet[(bits >> 18) & 63]);
    out.push_back(kAlphabet[(bits >> 12) & 63]);
    out.push_back(n > 1 ? kAlphabet[(bits >> 6) & 63] : '=');
    out.push_back(n > 2 ? kAlphabet[bits & 63] : '=');
}

}  // namespace

std::string Base64::encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        appendQuantum(out, data + i, std::min<std::size_t>(3, bytes.size() - i));
    }
    return out;
}

void Base64::appendLines(std::string& out, const std::vector<std::uint8_t>& bytes,
                         std::size_t bytesPerLine, std::string_view indent) {
    for (std::size_t start = 0; start < bytes.size(); start += bytesPerLine) {
        std::size_t end = std::min(bytes.size(), start + bytesPerLine);
        out.append(indent);
        for (std::size_t i = start; i < end; i += 3) {
            appendQuantum(out, bytes.data() + i, std::min<std::size_t>(3, end - i));
        }
        out.push_back('\n');
    }
}

std::optional<std::vector<std::uint8_t>> Base64::decode(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t bits = 0;
    int held = 0;
    int padding = 0;
    for (char c : text) {
        std::int8_t code = kTable[static_cast<unsigned char>(c)];
        if (code == kSpace) {
            continue;
        }
        if (code == kInvalid || (code >= 0 && padding > 0)) {
            return std::nullopt;
        }
        if (code == kPad) {
            // Padding may only complete a quantum that holds at least two characters.
            if (held + padding < 2) {
                return std::nullopt;
            }
            ++padding;
        } else {
            bits = (bits << 6) | static_cast<std::uint32_t>(code);
            ++held;
        }
        if (held + padding == 4) {
            bits <<= 6 * padding;
            bytes.push_back(static_cast<std::uint8_t>(bits >> 16));
            if (padding < 2) {
                bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
            }
            if (padding < 1) {
                bytes.push_back(static_cast<std::uint8_t>(bits));
            }
            if (padding > 0) {
                // Only whitespace may follow a padded quantum.
                held = 0;
                padding = 4;
                bits = 0;
                continue;
            }
            held = 0;
            bits = 0;
        }
    }
    if (held != 0 || (padding != 0 && padding != 4)) {
        return std::nullopt;
    }
    return bytes;
}
