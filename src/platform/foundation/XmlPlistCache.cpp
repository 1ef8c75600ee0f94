#include "platform/foundation/XmlPlistCache.h"

#include "platform/foundation/XmlPlistWriter.h"

namespace {

// The address that tells one container from another; null for everything else.
const void* containerOf(const PlistValue& value) {
    if (const PlistValue::Array* array = value.arrayValue()) {
        return array;
    }
    return value.dictionaryValue();
}

}  // namespace

Result<std::string_view> XmlPlistCache::write(const PlistValue& root) {
    const PlistValue::Dictionary* table = root.dictionaryValue();
    if (!table || table->empty()) {
        forget();
        Result<std::string> whole = XmlPlistWriter::write(root);
        if (!whole) {
            return Result<std::string_view>::failure(whole.error());
        }
        out_ = std::move(whole).value();
        return std::string_view(out_);
    }
    // The buffer keeps its capacity, so a large table is not paged in afresh on every save.
    out_.clear();
    out_.append(XmlPlistWriter::kHeader).append("<dict>\n");
    at_ = 0;
    places_.clear();
    for (const auto& [key, value] : *table) {
        if (Status status = appendEntry(key, value); !status) {
            // Pieces may have moved on already: start again from nothing.
            forget();
            return Result<std::string_view>::failure(status.error());
        }
    }
    out_.append("</dict>\n").append(XmlPlistWriter::kFooter);
    entries_.swap(nextEntries_);
    elements_.swap(nextElements_);
    nextEntries_.clear();
    nextElements_.clear();
    return std::string_view(out_);
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
        out_.append("\t<array>\n");
        for (const PlistValue& element : *array) {
            if (Status status = appendElement(element); !status) {
                return status;
            }
        }
        out_.append("\t</array>\n");
        return Status::success();
    }
    const void* container = containerOf(value);
    if (auto kept = entries_.find(key);
        container && kept != entries_.end() && containerOf(kept->second.value) == container) {
        out_.append(kept->second.text);
        nextEntries_.insert_or_assign(key, std::move(kept->second));
        return Status::success();
    }
    Result<std::string> text = XmlPlistWriter::writeFragment(value, 1);
    if (Status status = append(text); !status || !container) {
        return status;
    }
    nextEntries_.insert_or_assign(key, Piece{value, std::move(text).value()});
    return Status::success();
}

Status XmlPlistCache::appendElement(const PlistValue& element) {
    const void* container = containerOf(element);
    if (Piece* kept = keptElement(container)) {
        out_.append(kept->text);
        nextElements_.push_back(std::move(*kept));
        return Status::success();
    }
    Result<std::string> text = XmlPlistWriter::writeFragment(element, 2);
    if (Status status = append(text); !status || !container) {
        return status;
    }
    nextElements_.push_back(Piece{element, std::move(text).value()});
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
    out_.append(text.value());
    return Status::success();
}
