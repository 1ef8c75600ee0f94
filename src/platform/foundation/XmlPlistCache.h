#pragma once

#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"

// Writes the same bytes as XmlPlistWriter::write, but keeps the text of each top-level entry
// and of each element of a top-level array, and uses it again while that container is the
// same one. Containers are copied on write and the cache holds a copy of each, so a container
// found again at the same address has not changed: a save after changing one switch or one
// filter writes only that again, not the whole list.
// The text is handed out in pieces that point into the texts kept, so a save copies no more
// than the new text; once the text lies in too many pieces, they are joined into one.
class XmlPlistCache {
  public:
    // The text in order; the pieces stay valid until the next write.
    Result<std::span<const std::string_view>> write(const PlistValue& root);

  private:
    using Chunk = std::shared_ptr<const std::string>;
    // A stretch of the text: `size` bytes of `chunk` from `offset`.
    struct Part {
        const std::string* chunk;
        std::size_t offset;
        std::size_t size;
    };
    // A value, where its text lies, and the part of the last write that holds it.
    struct Piece {
        PlistValue value;
        Chunk chunk;
        std::size_t offset = 0;
        std::size_t size = 0;
        std::size_t part = 0;
    };

    Status appendEntry(const std::string& key, const PlistValue& value);
    Status appendElement(const PlistValue& element);
    Piece* keptElement(const void* container);
    Status append(const Result<std::string>& text);
    void appendText(std::string_view text);
    Piece freshPiece(const PlistValue& value, std::string_view text);
    Piece keptPiece(Piece& kept);
    void addPart(const std::string* chunk, std::size_t offset, std::size_t size);
    void joinParts();
    void repoint(Piece& piece, const Chunk& whole, const std::vector<std::size_t>& bases) const;
    std::span<const std::string_view> pieces();
    void forget();

    // The new text of the write under way (glue and changed pieces).
    std::shared_ptr<std::string> fresh_;
    std::vector<Part> parts_;
    std::vector<std::string_view> pieces_;
    std::map<std::string, Piece, std::less<>> entries_;
    std::map<std::string, Piece, std::less<>> nextEntries_;
    // The elements of the top-level arrays in the order the last write met them, and where
    // each container stood; `at_` is the place of the element being written now.
    std::vector<Piece> elements_;
    std::vector<Piece> nextElements_;
    std::unordered_map<const void*, std::size_t> places_;
    std::size_t at_ = 0;
};
