#pragma once

#include <map>
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
class XmlPlistCache {
  public:
    // The text stays valid until the next write.
    Result<std::string_view> write(const PlistValue& root);
    // The text of the last write that succeeded.
    std::string_view lastText() const { return out_; }

  private:
    struct Piece {
        PlistValue value;
        std::string text;
    };

    Status appendEntry(const std::string& key, const PlistValue& value);
    Status appendElement(const PlistValue& element);
    Piece* keptElement(const void* container);
    Status append(const Result<std::string>& text);
    void forget();

    std::string out_;
    std::map<std::string, Piece, std::less<>> entries_;
    std::map<std::string, Piece, std::less<>> nextEntries_;
    // The elements of the top-level arrays in the order the last write met them, and where
    // each container stood; `at_` is the place of the element being written now.
    std::vector<Piece> elements_;
    std::vector<Piece> nextElements_;
    std::unordered_map<const void*, std::size_t> places_;
    std::size_t at_ = 0;
};
