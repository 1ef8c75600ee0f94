#include "platform/foundation/XmlPlistCache.h"

#include "platform/foundation/XmlPlistWriter.h"

namespace {

// More stretches than this in one text are joined into one, so that the text never lies in
// ever more, ever smaller pieces.
constexpr std::size_t kMostParts = 64;

// The address that tells one container from another; null for everything else.
const void* containerOf(const PlistValue& value) {
    if (const PlistValue::Array* array = value.arrayValue()) {
        return array;
    }
    return value.dictionaryValue();
}

}  // namespace

Result<std::span<const std::string_view>> XmlPlistCache::write(const PlistValue& root) {
    using R = Result<std::span<const std::string_view>>;
    parts_.clear();
    fresh_ = std::make_shared<std::string>();
    const PlistValue::Dictionary* table = root.dictionaryValue();
    if (!table || table->empty()) {
        forget();
        Result<std::string> whole = XmlPlistWriter::write(root);
        if (!whole) {
            return R::failure(whole.error());
        }
        appendText(whole.value());
        return pieces();
    }
    appendText(XmlPlistWriter::kHeader);
    appendText("<dict>\n");
    at_ = 0;
    places_.clear();
    for (const auto& [key, value] : *table) {
        if (Status status = appendEntry(key, value); !status) {
            // Pieces may have moved on already: start again from nothing.
            forget();
            return R::failure(status.error());
        }
    }
    appendText("</dict>\n");
    appendText(XmlPlistWriter::kFooter);
    if (parts_.size() > kMostParts) {
        joinParts();
    }
    entries_.swap(nextEntries_);
    elements_.swap(nextElements_);
    nextEntries_.clear();
    nextElements_.clear();
    return pieces();
}

void XmlPlistCache::appendText(std::string_view text) {
    addPart(fresh_.get(), fresh_->size(), text.size());
    fresh_->append(text);
}

XmlPlistCache::Piece XmlPlistCache::freshPiece(const PlistValue& value, std::string_view text) {
    std::size_t offset = fresh_->size();
    appendText(text);
    return Piece{value, fresh_, offset, text.size(), parts_.size() - 1};
}

XmlPlistCache::Piece XmlPlistCache::keptPiece(Piece& kept) {
    addPart(kept.chunk.get(), kept.offset, kept.size);
    return Piece{std::move(kept.value), std::move(kept.chunk), kept.offset, kept.size,
                 parts_.size() - 1};
}

// A stretch that continues the last one in the same text joins it.
void XmlPlistCache::addPart(const std::string* chunk, std::size_t offset, std::size_t size) {
    if (!parts_.empty() && parts_.back().chunk == chunk &&
        parts_.back().offset + parts_.back().size == offset) {
        parts_.back().size += size;
    } else {
        parts_.push_back({chunk, offset, size});
    }
}

// Copies the whole text into one and points every piece of this write at it.
void XmlPlistCache::joinParts() {
    auto whole = std::make_shared<std::string>();
    std::vector<std::size_t> bases;
    bases.reserve(parts_.size());
    for (const Part& part : parts_) {
        bases.push_back(whole->size());
        whole->append(*part.chunk, part.offset, part.size);
    }
    for (auto& entry : nextEntries_) {
        repoint(entry.second, whole, bases);
    }
    for (Piece& element : nextElements_) {
        repoint(element, whole, bases);
    }
    parts_ = {Part{whole.get(), 0, whole->size()}};
    fresh_ = std::move(whole);
}

void XmlPlistCache::repoint(Piece& piece, const Chunk& whole,
                            const std::vector<std::size_t>& bases) const {
    piece.offset = bases[piece.part] + (piece.offset - parts_[piece.part].offset);
    piece.chunk = whole;
    piece.part = 0;
}

std::span<const std::string_view> XmlPlistCache::pieces() {
    pieces_.clear();
    for (const Part& part : parts_) {
        pieces_.push_back(std::string_view(*part.chunk).substr(part.offset, part.size));
    }
    return pieces_;
}

void XmlPlistCache::forget() {
    entries_.clear();
    nextEntries_.clear();
    elements_.clear();
    nextElements_.clear();
}

Status XmlPlistCache::appendEntry(const std::string& key, const PlistValue& value) {
    if (Status status = append(XmlPlistWriter::writeKey(key, 1)); !status) {
        return status;
    }
    if (const PlistValue::Array* array = value.arrayValue(); array && !array->empty()) {
        appendText("\t<array>\n");
        for (const PlistValue& element : *array) {
            if (Status status = appendElement(element); !status) {
                return status;
            }
        }
        appendText("\t</array>\n");
        return Status::success();
    }
    const void* container = containerOf(value);
    if (auto kept = entries_.find(key);
        container && kept != entries_.end() && containerOf(kept->second.value) == container) {
        nextEntries_.insert_or_assign(key, keptPiece(kept->second));
        return Status::success();
    }
    Result<std::string> text = XmlPlistWriter::writeFragment(value, 1);
    if (!text || !container) {
        return append(text);
    }
    nextEntries_.insert_or_assign(key, freshPiece(value, text.value()));
    return Status::success();
}

Status XmlPlistCache::appendElement(const PlistValue& element) {
    const void* container = containerOf(element);
    if (Piece* kept = keptElement(container)) {
        nextElements_.push_back(keptPiece(*kept));
        return Status::success();
    }
    Result<std::string> text = XmlPlistWriter::writeFragment(element, 2);
    if (!text || !container) {
        return append(text);
    }
    nextElements_.push_back(freshPiece(element, text.value()));
    return Status::success();
}

// The last write's piece of this container: where the same element stood then, or, once the
// order has changed, wherever it stood.
XmlPlistCache::Piece* XmlPlistCache::keptElement(const void* container) {
    std::size_t place = at_++;
    if (!container) {
        return nullptr;
    }
    if (place < elements_.size() && containerOf(elements_[place].value) == container) {
        return &elements_[place];
    }
    if (places_.empty()) {
        for (std::size_t i = 0; i < elements_.size(); ++i) {
            places_.try_emplace(containerOf(elements_[i].value), i);
        }
    }
    auto found = places_.find(container);
    // A piece taken already (the same container twice) has been moved from: no match.
    if (found == places_.end() || containerOf(elements_[found->second].value) != container) {
        return nullptr;
    }
    return &elements_[found->second];
}

Status XmlPlistCache::append(const Result<std::string>& text) {
    if (!text) {
        return Status::failure(text.error());
    }
    appendText(text.value());
    return Status::success();
}
