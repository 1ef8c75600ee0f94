#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"

// Reads a binary ("bplist00") property list. Every offset, size and count is checked against
// the input before it is used, so a hostile file cannot make it read outside the input or
// allocate beyond what the input backs. Each object is parsed once and shared wherever it is
// referenced; reference cycles and nesting deeper than the depth limit are refused, and so are
// values that, counting shared objects at every place they appear, hold more than
// kMaxExpandedNodes values or would take more than about kMaxExpandedXmlBytes to write as XML:
// writing a value read from a small file stays bounded.
class BinaryPlistReader {
  public:
    static constexpr std::uint64_t kMaxExpandedNodes = std::uint64_t{1} << 24;
    static constexpr std::uint64_t kMaxExpandedXmlBytes = std::uint64_t{1} << 28;

    static Result<PlistValue> parse(std::string_view bytes);

  private:
    struct Trailer {
        unsigned offsetSize;
        unsigned refSize;
        std::uint64_t objectCount;
        std::uint64_t topObject;
        std::uint64_t offsetTableOffset;
    };
    // The size of an object with shared objects counted wherever they appear: its values and
    // an estimate of its XML text at depth 0 (each level deeper adds a tab to every value).
    struct Expansion {
        std::uint64_t nodes = 1;
        std::uint64_t bytes = 0;
    };
    // An array or dictionary whose children are being read.
    struct Frame {
        std::uint64_t object = 0;
        bool isDictionary = false;
        std::uint64_t count = 0;
        std::size_t refs = 0;  // where the object references start
        std::uint64_t next = 0;
        Expansion expanded;
        PlistValue::Array items;
        std::vector<std::string> keys;
        PlistValue::Dictionary entries;
    };
    enum class State : std::uint8_t { Unread, Reading, Read };

    explicit BinaryPlistReader(std::string_view bytes) : bytes_(bytes) {}
    Result<PlistValue> run();
    bool readTrailer();
    bool readObject(std::uint64_t object);
    bool visitChild(std::uint64_t object);
    bool advance(Frame& frame);
    bool finish(Frame& frame);
    bool readLeaf(std::uint64_t object, std::size_t at, unsigned marker);
    bool readContainer(std::uint64_t object, std::size_t at, unsigned marker);
    std::optional<std::uint64_t> objectOffset(std::uint64_t object);
    std::optional<std::uint64_t> readCount(std::size_t& at, unsigned marker);
    std::optional<PlistValue> readInteger(std::size_t at, unsigned sizeCode);
    std::optional<PlistValue> readReal(std::size_t at, unsigned sizeCode);
    std::optional<PlistValue> readDate(std::size_t at);
    std::optional<PlistValue> readString(std::size_t at, unsigned marker, bool utf16);
    std::uint64_t readUnsigned(std::size_t at, unsigned size) const;
    bool available(std::size_t at, std::uint64_t length) const;
    bool claim(std::uint64_t length);
    bool grow(Expansion& parent, const Expansion& child);
    bool fail(std::string message);

    std::string_view bytes_;
    std::size_t objectsEnd_ = 0;  // objects lie between the header and the trailer
    std::uint64_t unclaimed_ = 0;
    Trailer trailer_{};
    std::vector<State> states_;
    std::vector<PlistValue> values_;
    std::vector<Expansion> expanded_;
    std::vector<Frame> stack_;
    std::string error_;
};
