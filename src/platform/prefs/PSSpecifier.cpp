#include "platform/prefs/PSSpecifier.h"

#include <algorithm>

namespace {

// Choices compare as the platform's objects do: numbers by value, whatever their kind, so a
// stored 1.0 or YES selects the choice 1.
bool sameChoice(const PlistValue& a, const PlistValue& b) {
    if (a.isNumber() && b.isNumber()) {
        return a.doubleValue() == b.doubleValue();
    }
    return a == b;
}

}  // namespace

PSSpecifier::PSSpecifier(std::string name, PSListController* target, PSCellType cellType)
    : name_(std::move(name)), target_(target), cellType_(cellType) {}

std::shared_ptr<PSSpecifier> PSSpecifier::preferenceSpecifierNamed(
    std::string name, PSListController* target, Setter set, Getter get, std::string detail,
    PSCellType cell, std::string edit) {
    auto specifier = std::make_shared<PSSpecifier>(std::move(name), target, cell);
    specifier->setBinding(set, get);
    specifier->setDetailControllerClass(std::move(detail));
    specifier->setEditPaneClass(std::move(edit));
    return specifier;
}

std::shared_ptr<PSSpecifier> PSSpecifier::emptyGroupSpecifier() {
    return groupSpecifierWithName("");
}

std::shared_ptr<PSSpecifier> PSSpecifier::groupSpecifierWithName(std::string name) {
    return std::make_shared<PSSpecifier>(std::move(name), nullptr, PSGroupCell);
}

void PSSpecifier::setBinding(Setter set, Getter get) {
    setter_ = set;
    getter_ = get;
}

std::string PSSpecifier::identifier() const {
    const std::string* text = propertyForKey("id").stringValue();
    return text ? *text : std::string();
}

void PSSpecifier::setIdentifier(std::string identifier) {
    setProperty(PlistValue(std::move(identifier)), "id");
}

void PSSpecifier::setProperty(PlistValue value, std::string_view key) {
    if (value.isAbsent()) {
        if (auto found = properties_.find(key); found != properties_.end()) {
            properties_.erase(found);
        }
        return;
    }
    properties_.insert_or_assign(std::string(key), std::move(value));
}

PlistValue PSSpecifier::propertyForKey(std::string_view key) const {
    auto found = properties_.find(key);
    return found == properties_.end() ? PlistValue() : found->second;
}

void PSSpecifier::setValues(PlistValue::Array values, std::vector<std::string> titles) {
    values_ = std::move(values);
    titles_ = std::move(titles);
}

std::vector<PSSpecifier::TitleEntry> PSSpecifier::titleDictionary() const {
    std::vector<TitleEntry> entries;
    std::size_t count = std::min(values_.size(), titles_.size());
    for (std::size_t i = 0; i < count; ++i) {
        auto same = [&](const TitleEntry& entry) { return sameChoice(entry.first, values_[i]); };
        auto found = std::find_if(entries.begin(), entries.end(), same);
        if (found != entries.end()) {
            found->second = titles_[i];
        } else {
            entries.emplace_back(values_[i], titles_[i]);
        }
    }
    return entries;
}

const std::string* PSSpecifier::titleForValue(const PlistValue& value) const {
    long index = indexOfValue(value);
    return index < 0 ? nullptr : &titles_[static_cast<std::size_t>(index)];
}

long PSSpecifier::indexOfValue(const PlistValue& value) const {
    long found = -1;
    std::size_t count = std::min(values_.size(), titles_.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (sameChoice(values_[i], value)) {
            found = static_cast<long>(i);
        }
    }
    return found;
}
