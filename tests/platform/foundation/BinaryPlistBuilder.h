#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Assembles binary property lists object by object, so that tests can make both sound files
// and files that break one rule at a time (bad references, cycles, overlapping objects).
class BinaryPlistBuilder {
  public:
    // Adds an object given as raw bytes, marker included; returns its object number.
    std::size_t raw(std::string bytes) {
        objects_.push_back(std::move(bytes));
        return objects_.size() - 1;
    }
    std::size_t integer(std::int64_t value) {
        return raw(marker(0x1, 3, false) + bigEndian(static_cast<std::uint64_t>(value), 8));
    }
    std::size_t ascii(std::string_view text) { return raw(marker(0x5, text.size()) += text); }
    std::size_t utf16(const std::vector<std::uint16_t>& units) {
        std::string bytes = marker(0x6, units.size());
        for (std::uint16_t unit : units) {
            bytes += bigEndian(unit, 2);
        }
        return raw(bytes);
    }
    std::size_t array(const std::vector<std::size_t>& refs) {
        return raw(marker(0xA, refs.size()) + references(refs));
    }
    std::size_t dictionary(const std::vector<std::size_t>& keys,
                           const std::vector<std::size_t>& values) {
        return raw(marker(0xD, keys.size()) + references(keys) + references(values));
    }

    // Object references are written with this many bytes.
    void setRefSize(unsigned size) { refSize_ = size; }

    std::string build(std::size_t top) const {
        std::string file = "bplist00";
        std::vector<std::uint64_t> offsets;
        for (const std::string& object : objects_) {
            offsets.push_back(file.size());
            file += object;
        }
        std::uint64_t tableOffset = file.size();
        for (std::uint64_t offset : offsets) {
            file += bigEndian(offset, 8);
        }
        file += std::string(6, '\0');
        file += static_cast<char>(8);
        file += static_cast<char>(refSize_);
        file += bigEndian(objects_.size(), 8) + bigEndian(top, 8) + bigEndian(tableOffset, 8);
        return file;
    }

    static std::string bigEndian(std::uint64_t value, unsigned size) {
        std::string bytes(size, '\0');
        for (unsigned i = 0; i < size; ++i) {
            bytes[size - 1 - i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return bytes;
    }
    // A type marker; counts of 15 and more follow as an integer object.
    static std::string marker(unsigned type, std::uint64_t count, bool counted = true) {
        if (!counted || count < 15) {
            return std::string(1, static_cast<char>((type << 4) | count));
        }
        return std::string(1, static_cast<char>((type << 4) | 0xF)) + '\x13' + bigEndian(count, 8);
    }

  private:
    std::string references(const std::vector<std::size_t>& refs) const {
        std::string bytes;
        for (std::size_t ref : refs) {
            bytes += bigEndian(ref, refSize_);
        }
        return bytes;
    }

    std::vector<std::string> objects_;
    unsigned refSize_ = 4;
};
