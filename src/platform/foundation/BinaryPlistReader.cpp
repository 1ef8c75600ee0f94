#include "platform/foundation/BinaryPlistReader.h"

#include <cmath>
#include <cstring>

#include "platform/foundation/PropertyList.h"

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;
// Seconds from 1970-01-01 to 2001-01-01, the epoch of binary dates.
constexpr double kEpochOffset = 978307200.0;

enum Marker : unsigned {
    kFalse = 0x08,
    kTrue = 0x09,
    kInteger = 0x1,
    kReal = 0x2,
    kDate = 0x33,
    kData = 0x4,
    kAsciiString = 0x5,
    kUtf16String = 0x6,
    kArray = 0xA,
    kDictionary = 0xD,
};

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Rough XML size of a value line, apart from its text: tags, indentation slack, newline.
constexpr std::uint64_t kLineBytes = 32;

std::uint32_t unitAt(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]) << 8 |
                                      static_cast<unsigned char>(bytes[at + 1]));
}

// Big-endian UTF-16 to UTF-8; null for an unpaired surrogate.
std::optional<std::string> utf16ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t unit = unitAt(bytes, i);
        bool high = unit >= 0xD800 && unit <= 0xDBFF;
        std::uint32_t next = high && i + 2 < bytes.size() ? unitAt(bytes, i + 2) : 0;
        if (next >= 0xDC00 && next <= 0xDFFF) {
            appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            i += 2;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            return std::nullopt;
        } else {
            appendUtf8(text, unit);
        }
    }
    return text;
}

}  // namespace

Result<PlistValue> BinaryPlistReader::parse(std::string_view bytes) {
    return BinaryPlistReader(bytes).run();
}

bool BinaryPlistReader::fail(std::string message) {
    if (error_.empty()) {
        error_ = std::move(message);
    }
    return false;
}

Result<PlistValue> BinaryPlistReader::run() {
    if (readTrailer() && readObject(trailer_.topObject)) {
        return values_[trailer_.topObject];
    }
    return Result<PlistValue>::failure("Not a valid binary property list: " + error_ + ".");
}

bool BinaryPlistReader::available(std::size_t at, std::uint64_t length) const {
    return at <= objectsEnd_ && length <= objectsEnd_ - at;
}

std::uint64_t BinaryPlistReader::readUnsigned(std::size_t at, unsigned size) const {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes_[at + i]);
    }
    return value;
}

bool BinaryPlistReader::readTrailer() {
    if (bytes_.size() < kHeaderSize + kTrailerSize) {
        return fail("the file is too short");
    }
    std::size_t at = bytes_.size() - kTrailerSize;
    objectsEnd_ = at;
    unclaimed_ = at;
    trailer_.offsetSize = static_cast<unsigned char>(bytes_[at + 6]);
    trailer_.refSize = static_cast<unsigned char>(bytes_[at + 7]);
    trailer_.objectCount = readUnsigned(at + 8, 8);
    trailer_.topObject = readUnsigned(at + 16, 8);
    trailer_.offsetTableOffset = readUnsigned(at + 24, 8);
    const Trailer& t = trailer_;
    if (t.offsetSize < 1 || t.offsetSize > 8 || t.refSize < 1 || t.refSize > 8) {
        return fail("bad offset or reference size in the trailer");
    }
    if (t.offsetTableOffset < kHeaderSize || t.offsetTableOffset > objectsEnd_ ||
        t.objectCount == 0 || t.objectCount > (objectsEnd_ - t.offsetTableOffset) / t.offsetSize) {
        return fail("the offset table does not fit in the file");
    }
    if (t.topObject >= t.objectCount) {
        return fail("the top object is out of range");
    }
    // Each object needs at least one byte and one offset, so these stay within the file size.
    states_.assign(t.objectCount, State::Unread);
    values_.resize(t.objectCount);
    expanded_.assign(t.objectCount, Expansion{});
    return true;
}

std::optional<std::uint64_t> BinaryPlistReader::objectOffset(std::uint64_t object) {
    std::size_t entry = trailer_.offsetTableOffset + object * trailer_.offsetSize;
    std::uint64_t offset = readUnsigned(entry, trailer_.offsetSize);
    if (offset < kHeaderSize || offset >= trailer_.offsetTableOffset) {
        fail("object " + std::to_string(object) + " has an offset outside the object area");
        return std::nullopt;
    }
    return offset;
}

bool BinaryPlistReader::readObject(std::uint64_t object) {
    if (!visitChild(object)) {
        return false;
    }
    while (!stack_.empty()) {
        if (!advance(stack_.back())) {
            return false;
        }
    }
    return true;
}

// Reads a leaf at once; opens a frame for a container. A container already being read is a
// cycle.
bool BinaryPlistReader::visitChild(std::uint64_t object) {
    if (object >= trailer_.objectCount) {
        return fail("reference to object " + std::to_string(object) + " of " +
                    std::to_string(trailer_.objectCount));
    }
    if (states_[object] == State::Read) {
        return true;
    }
    if (states_[object] == State::Reading) {
        return fail("object " + std::to_string(object) + " is part of a reference cycle");
    }
    std::optional<std::uint64_t> offset = objectOffset(object);
    if (!offset) {
        return false;
    }
    auto at = static_cast<std::size_t>(*offset);
    unsigned marker = static_cast<unsigned char>(bytes_[at]);
    unsigned type = marker >> 4;
    if (type == kArray || type == kDictionary) {
        return readContainer(object, at, marker);
    }
    return readLeaf(object, at, marker);
}

bool BinaryPlistReader::readContainer(std::uint64_t object, std::size_t at, unsigned marker) {
    if (stack_.size() >= static_cast<std::size_t>(PropertyList::kMaxDepth)) {
        return fail("nesting deeper than " + std::to_string(PropertyList::kMaxDepth) + " levels");
    }
    ++at;
    std::optional<std::uint64_t> count = readCount(at, marker);
    if (!count) {
        return false;
    }
    bool isDictionary = (marker >> 4) == kDictionary;
    std::uint64_t refCount = isDictionary ? 2 * *count : *count;
    if (*count > objectsEnd_ || !available(at, refCount * trailer_.refSize)) {
        return fail("object " + std::to_string(object) +
                    " has more references than the file holds");
    }
    if (!claim(refCount * trailer_.refSize)) {
        return false;
    }
    Frame frame;
    frame.expanded.bytes = 2 * kLineBytes;  // opening and closing lines
    frame.object = object;
    frame.isDictionary = isDictionary;
    frame.count = *count;
    frame.refs = at;
    if (isDictionary) {
        frame.keys.reserve(*count);
    } else {
        frame.items.reserve(*count);
    }
    states_[object] = State::Reading;
    stack_.push_back(std::move(frame));
    return true;
}

// Takes the next child of the top frame, or completes the frame when none is left.
bool BinaryPlistReader::advance(Frame& frame) {
    std::uint64_t refCount = frame.isDictionary ? 2 * frame.count : frame.count;
    if (frame.next == refCount) {
        return finish(frame);
    }
    std::uint64_t child =
        readUnsigned(frame.refs + frame.next * trailer_.refSize, trailer_.refSize);
    std::size_t depth = stack_.size();
    if (!visitChild(child)) {
        return false;
    }
    if (stack_.size() != depth) {
        return true;  // the child is a container, now on top; `frame` may have moved
    }
    bool isKey = frame.isDictionary && frame.next < frame.count;
    const PlistValue& value = values_[child];
    if (isKey && !value.isString()) {
        return fail("a dictionary key is not a string");
    }
    if (!grow(frame.expanded, expanded_[child])) {
        return false;
    }
    if (isKey) {
        frame.keys.push_back(*value.stringValue());
    } else if (frame.isDictionary) {
        // A repeated key keeps the last value.
        frame.entries.insert_or_assign(frame.keys[frame.next - frame.count], value);
    } else {
        frame.items.push_back(value);
    }
    ++frame.next;
    return true;
}

bool BinaryPlistReader::finish(Frame& frame) {
    std::uint64_t object = frame.object;
    values_[object] = frame.isDictionary ? PlistValue(std::move(frame.entries))
                                         : PlistValue(std::move(frame.items));
    expanded_[object] = frame.expanded;
    states_[object] = State::Read;
    stack_.pop_back();
    return true;
}

// Adds a child one level below its parent. Both totals stay below the bounds, which are far
// below overflow, because every addition is checked.
bool BinaryPlistReader::grow(Expansion& parent, const Expansion& child) {
    parent.nodes += child.nodes;
    parent.bytes += child.bytes + child.nodes;
    if (parent.nodes > kMaxExpandedNodes || parent.bytes > kMaxExpandedXmlBytes) {
        return fail("it expands to more than " + std::to_string(kMaxExpandedNodes) + " values or " +
                    std::to_string(kMaxExpandedXmlBytes >> 20) + " MB of XML");
    }
    return true;
}

// In a sound file the contents of distinct objects do not overlap, so together they fit in the
// object area; overlapping ones could otherwise make work and memory grow with the square of
// the file size.
bool BinaryPlistReader::claim(std::uint64_t length) {
    if (length > unclaimed_) {
        return fail("objects overlap");
    }
    unclaimed_ -= length;
    return true;
}

std::optional<std::uint64_t> BinaryPlistReader::readCount(std::size_t& at, unsigned marker) {
    unsigned low = marker & 0xF;
    if (low != 0xF) {
        return low;
    }
    // A longer count follows as an integer object of 1, 2, 4 or 8 bytes.
    if (!available(at, 1)) {
        fail("a count runs past the end of the objects");
        return std::nullopt;
    }
    unsigned intMarker = static_cast<unsigned char>(bytes_[at]);
    unsigned size = 1u << (intMarker & 0xF);
    if ((intMarker >> 4) != kInteger || size > 8 || !available(at + 1, size)) {
        fail("a count is not a valid integer");
        return std::nullopt;
    }
    std::uint64_t count = readUnsigned(at + 1, size);
    at += 1 + size;
    return count;
}

bool BinaryPlistReader::readLeaf(std::uint64_t object, std::size_t at, unsigned marker) {
    unsigned type = marker >> 4;
    std::optional<PlistValue> value;
    if (marker == kFalse || marker == kTrue) {
        value = PlistValue::boolean(marker == kTrue);
    } else if (type == kInteger) {
        value = readInteger(at + 1, marker & 0xF);
    } else if (type == kReal) {
        value = readReal(at + 1, marker & 0xF);
    } else if (marker == kDate) {
        value = readDate(at + 1);
    } else if (type == kData || type == kAsciiString || type == kUtf16String) {
        value = readString(at, marker, type == kUtf16String);
    } else {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", marker);
        return fail(std::string("unsupported object type ") + hex);
    }
    if (!value) {
        return fail(error_.empty() ? "object " + std::to_string(object) + " is malformed" : error_);
    }
    // Text may double when escaped or encoded; data grows by a third in base64.
    std::size_t length = value->stringValue() ? value->stringValue()->size()
                         : value->dataValue() ? value->dataValue()->size()
                                              : 0;
    expanded_[object] = Expansion{1, kLineBytes + 2 * length};
    values_[object] = std::move(*value);
    states_[object] = State::Read;
    return true;
}

std::optional<PlistValue> BinaryPlistReader::readInteger(std::size_t at, unsigned sizeCode) {
    if (sizeCode > 4 || !available(at, 1u << sizeCode)) {
        return std::nullopt;
    }
    unsigned size = 1u << sizeCode;
    if (size < 8) {
        return PlistValue::integer(static_cast<std::int64_t>(readUnsigned(at, size)));
    }
    if (size == 8) {
        return PlistValue::integer(static_cast<std::int64_t>(readUnsigned(at, 8)));
    }
    // Sixteen bytes, signed: the high half only extends the sign or is zero for 2^63..2^64-1.
    std::uint64_t high = readUnsigned(at, 8);
    std::uint64_t low = readUnsigned(at + 8, 8);
    if (high == 0) {
        return PlistValue::unsignedInteger(low);
    }
    if (high == ~std::uint64_t{0} && (low >> 63) == 1) {
        return PlistValue::integer(static_cast<std::int64_t>(low));
    }
    fail("an integer is out of range");
    return std::nullopt;
}

std::optional<PlistValue> BinaryPlistReader::readReal(std::size_t at, unsigned sizeCode) {
    if ((sizeCode != 2 && sizeCode != 3) || !available(at, 1u << sizeCode)) {
        return std::nullopt;
    }
    if (sizeCode == 2) {
        auto bits = static_cast<std::uint32_t>(readUnsigned(at, 4));
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return PlistValue::real(value);
    }
    std::uint64_t bits = readUnsigned(at, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return PlistValue::real(value);
}

std::optional<PlistValue> BinaryPlistReader::readDate(std::size_t at) {
    if (!available(at, 8)) {
        return std::nullopt;
    }
    std::uint64_t bits = readUnsigned(at, 8);
    double seconds;
    std::memcpy(&seconds, &bits, sizeof seconds);
    if (!std::isfinite(seconds)) {
        fail("a date is not a finite number");
        return std::nullopt;
    }
    return PlistValue::date(seconds + kEpochOffset);
}

std::optional<PlistValue> BinaryPlistReader::readString(std::size_t at, unsigned marker,
                                                        bool utf16) {
    ++at;
    std::optional<std::uint64_t> count = readCount(at, marker);
    if (!count) {
        return std::nullopt;
    }
    std::uint64_t length = utf16 ? 2 * *count : *count;
    if (*count > objectsEnd_ || !available(at, length)) {
        fail("a string or data runs past the end of the objects");
        return std::nullopt;
    }
    if (!claim(length)) {
        return std::nullopt;
    }
    std::string_view bytes = bytes_.substr(at, static_cast<std::size_t>(length));
    unsigned type = marker >> 4;
    if (type == kData) {
        return PlistValue::data(PlistValue::Data(bytes.begin(), bytes.end()));
    }
    if (!utf16) {
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) > 127) {
                fail("an ASCII string holds a byte above 127");
                return std::nullopt;
            }
        }
        return PlistValue(std::string(bytes));
    }
    std::optional<std::string> text = utf16ToUtf8(bytes);
    if (!text) {
        fail("a UTF-16 string holds an unpaired surrogate");
        return std::nullopt;
    }
    return PlistValue(std::move(*text));
}
