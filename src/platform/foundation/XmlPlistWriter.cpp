#include "platform/foundation/XmlPlistWriter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/foundation/Base64.h"
#include "platform/foundation/Iso8601Date.h"
#include "platform/foundation/PropertyList.h"

namespace {

// Length of the UTF-8 sequence at `at` if it encodes a character XML 1.0 can carry, else 0.
// Tab, LF and CR count as carried (CR is written as a character reference).
std::size_t xmlCharLength(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80) {
        return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
    }
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) {
        return 0;
    }
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    bool nonCharacter = code == 0xFFFE || code == 0xFFFF;
    if (overlong || surrogate || nonCharacter || code > 0x10FFFF) {
        return 0;
    }
    return length;
}

std::string_view escapeFor(char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '\r':
            // A literal CR would read back as LF.
            return "&#13;";
        default:
            return {};
    }
}

// Bytes that the plain run of a string stops at: controls, non-ASCII (to be validated as
// UTF-8), and the characters XML escapes.
constexpr std::array<bool, 256> kNeedsAttention = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] =
            c < 0x20 || c >= 0x7F || c == '&' || c == '<' || c == '>';
    }
    return table;
}();

constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// Whether some byte of `word` equals `c`.
constexpr bool hasByte(std::uint64_t word, char c) {
    std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return ((x - kOnes) & ~x & kHighBits) != 0;
}

// Whether some byte of `word` may need attention; false positives only cost the slow check.
constexpr bool mayNeedAttention(std::uint64_t word) {
    bool control = ((word - kOnes * 0x20) & ~word & kHighBits) != 0;
    bool high = ((word | (word + kOnes)) & kHighBits) != 0;  // 0x7F and above
    return control || high || hasByte(word, '&') || hasByte(word, '<') || hasByte(word, '>');
}

// Length of the run of plain ASCII text that starts at `from`: copied as it is. Eight bytes
// at a time while none of them needs a closer look.
std::size_t plainRun(std::string_view text, std::size_t from) {
    std::size_t i = from;
    std::uint64_t word = 0;
    while (i + sizeof word <= text.size()) {
        std::memcpy(&word, text.data() + i, sizeof word);
        if (mayNeedAttention(word)) {
            break;
        }
        i += sizeof word;
    }
    while (i < text.size() && !kNeedsAttention[static_cast<unsigned char>(text[i])]) {
        ++i;
    }
    return i - from;
}

// Appends `text` escaped; false when it holds something XML cannot carry.
bool appendEscaped(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (true) {
        std::size_t run = plainRun(text, i);
        out.append(text.data() + i, run);
        i += run;
        if (i == text.size()) {
            return true;
        }
        std::size_t length = xmlCharLength(text, i);
        if (length == 0) {
            return false;
        }
        std::string_view escape = escapeFor(text[i]);
        out.append(escape.empty() ? text.substr(i, length) : escape);
        i += length;
    }
}

// `digits` with the decimal point after `point` of them; always with a fractional part.
void appendPositional(std::string& out, const std::string& digits, int point) {
    auto count = static_cast<int>(digits.size());
    if (point <= 0) {
        out.append("0.").append(static_cast<std::size_t>(-point), '0').append(digits);
    } else if (point >= count) {
        out.append(digits).append(static_cast<std::size_t>(point - count), '0').append(".0");
    } else {
        out.append(digits, 0, static_cast<std::size_t>(point));
        out.push_back('.');
        out.append(digits, static_cast<std::size_t>(point));
    }
}

// d.ddde+XX, with at least two exponent digits.
void appendScientific(std::string& out, const std::string& digits, int exponent) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
        out.push_back('.');
        out.append(digits, 1);
    }
    out.append(exponent < 0 ? "e-" : "e+");
    int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) {
        out.push_back('0');
    }
    out.append(std::to_string(magnitude));
}

void appendInteger(std::string& out, const PlistValue& value) {
    char buffer[24];
    auto end = value.isUnsignedInteger()
                   ? std::to_chars(buffer, buffer + sizeof buffer, value.unsignedValue()).ptr
                   : std::to_chars(buffer, buffer + sizeof buffer, value.integerValue()).ptr;
    out.append(buffer, static_cast<std::size_t>(end - buffer));
}

}  // namespace

XmlPlistWriter::XmlPlistWriter(std::size_t depth) : depth_(depth) {}

Result<std::string> XmlPlistWriter::write(const PlistValue& value) {
    XmlPlistWriter writer(0);
    writer.out_.append(kHeader);
    if (Status status = writer.writeAll(value); !status) {
        return Result<std::string>::failure(status.error());
    }
    writer.out_.append(kFooter);
    return std::move(writer.out_);
}

Result<std::string> XmlPlistWriter::writeFragment(const PlistValue& value, std::size_t depth) {
    XmlPlistWriter writer(depth);
    if (Status status = writer.writeAll(value); !status) {
        return Result<std::string>::failure(status.error());
    }
    return std::move(writer.out_);
}

Result<std::string> XmlPlistWriter::writeKey(std::string_view key, std::size_t depth) {
    XmlPlistWriter writer(depth);
    if (Status status = writer.writeString("key", key); !status) {
        return Result<std::string>::failure(status.error());
    }
    return std::move(writer.out_);
}

Status XmlPlistWriter::writeAll(const PlistValue& value) {
    Status status = writeValue(value);
    while (status && !stack_.empty()) {
        Frame& top = stack_.back();
        bool more = top.array ? top.index < top.array->size() : top.next != top.dictionary->end();
        if (more) {
            status = writeNextChild(top);
        } else {
            closeContainer();
        }
    }
    return status;
}

Status XmlPlistWriter::writeNextChild(Frame& frame) {
    if (frame.array) {
        return writeValue((*frame.array)[frame.index++]);
    }
    auto entry = frame.next++;
    Status key = writeString("key", entry->first);
    if (!key) {
        return key;
    }
    // `frame` may move when the child opens a container; it is not used after this.
    return writeValue(entry->second);
}

Status XmlPlistWriter::writeValue(const PlistValue& value) {
    if (value.isArray() || value.isDictionary()) {
        return openContainer(value);
    }
    return writeLeaf(value);
}

Status XmlPlistWriter::openContainer(const PlistValue& value) {
    // Empty containers count too: the reader refuses them beyond the limit as well.
    if (depth_ + stack_.size() >= static_cast<std::size_t>(PropertyList::kMaxDepth)) {
        return Status::failure("The value is nested deeper than " +
                               std::to_string(PropertyList::kMaxDepth) + " levels.");
    }
    std::string_view name = value.isArray() ? "array" : "dict";
    if (value.count() == 0) {
        indent();
        out_.append("<").append(name).append("/>\n");
        return Status::success();
    }
    indent();
    out_.append("<").append(name).append(">\n");
    Frame frame;
    frame.array = value.arrayValue();
    frame.dictionary = value.dictionaryValue();
    if (frame.dictionary) {
        frame.next = frame.dictionary->begin();
    }
    stack_.push_back(frame);
    return Status::success();
}

void XmlPlistWriter::closeContainer() {
    bool isArray = stack_.back().array != nullptr;
    stack_.pop_back();
    line(isArray ? "</array>" : "</dict>");
}

Status XmlPlistWriter::writeLeaf(const PlistValue& value) {
    switch (value.kind()) {
        case PlistValue::Kind::String:
            return writeString("string", *value.stringValue());
        case PlistValue::Kind::Integer:
            indent();
            out_.append("<integer>");
            appendInteger(out_, value);
            out_.append("</integer>\n");
            return Status::success();
        case PlistValue::Kind::Real:
            line("<real>" + formatReal(value.doubleValue()) + "</real>");
            return Status::success();
        case PlistValue::Kind::Boolean:
            line(value.boolValue() ? "<true/>" : "<false/>");
            return Status::success();
        case PlistValue::Kind::Date: {
            std::optional<std::string> text = Iso8601Date::format(value.dateValue());
            if (!text) {
                return Status::failure("A date lies outside the years 1 to 9999.");
            }
            line("<date>" + *text + "</date>");
            return Status::success();
        }
        case PlistValue::Kind::Data:
            return writeData(*value.dataValue());
        default:
            return Status::failure("An absent value cannot be written to a property list.");
    }
}

bool XmlPlistWriter::carries(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = xmlCharLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

Status XmlPlistWriter::writeString(std::string_view element, std::string_view text) {
    indent();
    out_.push_back('<');
    out_.append(element);
    out_.push_back('>');
    if (!appendEscaped(out_, text)) {
        return Status::failure(
            "A string holds a control character or invalid UTF-8, which XML cannot carry.");
    }
    out_.append("</");
    out_.append(element);
    out_.append(">\n");
    return Status::success();
}

Status XmlPlistWriter::writeData(const PlistValue::Data& bytes) {
    line("<data>");
    // Lines narrow with depth so that the text stays within 76 columns (tabs as 8).
    std::size_t level = depth_ + stack_.size();
    std::size_t width = level >= 8 ? 16 : 76 - level * 8;
    static const std::string tabs(PropertyList::kMaxDepth + 1, '\t');
    Base64::appendLines(out_, bytes, width / 4 * 3, std::string_view(tabs).substr(0, level));
    line("</data>");
    return Status::success();
}

void XmlPlistWriter::indent() {
    out_.append(depth_ + stack_.size(), '\t');
}

void XmlPlistWriter::line(std::string_view text) {
    indent();
    out_.append(text);
    out_.push_back('\n');
}

std::string XmlPlistWriter::formatReal(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    // The shortest digits that read back to the same double, and their decimal exponent.
    char buffer[64];
    char* end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    std::string out;
    if (text.front() == '-') {
        out.push_back('-');
        text.remove_prefix(1);
    }
    std::size_t e = text.find('e');
    std::string digits(text.substr(0, e));
    if (digits.size() > 1) {
        digits.erase(1, 1);  // the decimal point
    }
    std::string_view exponentText = text.substr(e + 1);
    if (exponentText.front() == '+') {
        exponentText.remove_prefix(1);
    }
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    // Like repr(): positional from 1e-4 up to 1e16, scientific outside.
    if (exponent >= -4 && exponent < 16) {
        appendPositional(out, digits, exponent + 1);
    } else {
        appendScientific(out, digits, exponent);
    }
    return out;
}
