#include "platform/prefs/PSPageDescription.h"

#include <fmt/format.h>

#include <array>
#include <optional>

#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/prefs/PSClasses.h"

namespace {

constexpr std::array<std::string_view, 15> kCellNames = {
    "PSGroupCell",          "PSLinkCell",    "PSLinkListCell",     "PSListItemCell",
    "PSTitleValueCell",     "PSSliderCell",  "PSSwitchCell",       "PSStaticTextCell",
    "PSEditTextCell",       "PSSegmentCell", "PSGiantIconCell",    "PSGiantCell",
    "PSSecureEditTextCell", "PSButtonCell",  "PSEditTextViewCell",
};

constexpr std::array<std::string_view, 9> kStringKeys = {
    "label", "key", "id", "detail", "cellClass", "action", "footerText", "placeholder", "keyboard",
};
constexpr std::array<std::string_view, 3> kNumberKeys = {"min", "max", "height"};
constexpr std::array<std::string_view, 2> kFlagKeys = {"enabled", "showValue"};

// Builds one row, or says what is wrong with it.
class RowReader {
  public:
    RowReader(const PlistValue& item, PSListController* target) : item_(item), target_(target) {}

    std::optional<std::string> check() const;
    PSSpecifierPtr build() const;

  private:
    std::optional<std::string> checkKinds() const;
    std::optional<std::string> checkChoices() const;
    std::string text(std::string_view key) const {
        const std::string* value = item_[key].stringValue();
        return value ? *value : std::string();
    }

    const PlistValue& item_;
    PSListController* target_;
};

std::optional<std::string> RowReader::check() const {
    if (!item_.isDictionary()) {
        return "is not a dictionary";
    }
    if (auto problem = checkKinds()) {
        return problem;
    }
    if (!item_["cell"].isString()) {
        return "has no \"cell\"";
    }
    if (PSPageDescription::cellTypeNamed(text("cell")) < 0) {
        return fmt::format("names the unknown cell type \"{}\"", text("cell"));
    }
    if (item_["cellClass"].isString() && !PSCellClasses::contains(text("cellClass"))) {
        return fmt::format("names the unknown cell class \"{}\"", text("cellClass"));
    }
    return checkChoices();
}

std::optional<std::string> RowReader::checkKinds() const {
    for (std::string_view key : kStringKeys) {
        if (!item_[key].isAbsent() && !item_[key].isString()) {
            return fmt::format("has a \"{}\" that is not a string", key);
        }
    }
    for (std::string_view key : kNumberKeys) {
        if (!item_[key].isAbsent() && !item_[key].isNumber()) {
            return fmt::format("has a \"{}\" that is not a number", key);
        }
    }
    for (std::string_view key : kFlagKeys) {
        if (!item_[key].isAbsent() && !item_[key].isNumber()) {
            return fmt::format("has an \"{}\" that is not a boolean", key);
        }
    }
    return std::nullopt;
}

std::optional<std::string> RowReader::checkChoices() const {
    const PlistValue& values = item_["validValues"];
    const PlistValue& titles = item_["validTitles"];
    if (values.isAbsent() && titles.isAbsent()) {
        return std::nullopt;
    }
    if (!values.isArray() || !titles.isArray()) {
        return "needs both \"validValues\" and \"validTitles\" as arrays";
    }
    if (values.count() != titles.count()) {
        return fmt::format("has {} \"validValues\" but {} \"validTitles\"", values.count(),
                           titles.count());
    }
    for (const PlistValue& title : *titles.arrayValue()) {
        if (!title.isString()) {
            return "has a \"validTitles\" entry that is not a string";
        }
    }
    return std::nullopt;
}

PSSpecifierPtr RowReader::build() const {
    auto cell = static_cast<PSCellType>(PSPageDescription::cellTypeNamed(text("cell")));
    std::string detail = text("detail");
    if (cell == PSLinkListCell && detail.empty()) {
        detail = "PSListItemsController";
    }
    bool bound = item_["key"].isString();
    auto row = PSSpecifier::preferenceSpecifierNamed(
        text("label"), target_, bound ? PSSpecifier::SetPreferenceValue : PSSpecifier::NoSetter,
        bound ? PSSpecifier::ReadPreferenceValue : PSSpecifier::NoGetter, detail, cell, "");
    for (const auto& [key, value] : *item_.dictionaryValue()) {
        row->setProperty(value, key);
    }
    row->setActionName(text("action"));
    if (const PlistValue::Array* values = item_["validValues"].arrayValue()) {
        std::vector<std::string> titles;
        for (const PlistValue& title : *item_["validTitles"].arrayValue()) {
            titles.push_back(*title.stringValue());
        }
        row->setValues(*values, std::move(titles));
    }
    return row;
}

std::string rowName(const PlistValue& item, std::size_t index) {
    const std::string* label = item["label"].stringValue();
    return label && !label->empty() ? fmt::format("item {} (\"{}\")", index, *label)
                                    : fmt::format("item {}", index);
}

}  // namespace

long PSPageDescription::cellTypeNamed(std::string_view name) {
    for (std::size_t i = 0; i < kCellNames.size(); ++i) {
        if (kCellNames[i] == name) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

Result<PSPageDescription> PSPageDescription::load(std::string_view name, PSListController* target) {
    std::string path = PSBundle::pathForResource(name, "plist");
    std::string file = fmt::format("{}.plist", name);
    if (path.empty()) {
        return Result<PSPageDescription>::failure(
            fmt::format("\"{}\" is not the name of a page description", name));
    }
    Result<PlistValue> root = PropertyList::readFile(path);
    if (!root) {
        return Result<PSPageDescription>::failure(fmt::format("{}: {}", file, root.error()));
    }
    return fromPlist(root.value(), file, target);
}

Result<PSPageDescription> PSPageDescription::fromPlist(const PlistValue& root,
                                                       std::string_view file,
                                                       PSListController* target) {
    auto fail = [&](const std::string& problem) {
        return Result<PSPageDescription>::failure(fmt::format("{}: {}", file, problem));
    };
    if (!root.isDictionary() || !root["items"].isArray()) {
        return fail("is not a dictionary with an \"items\" array");
    }
    if (!root["title"].isAbsent() && !root["title"].isString()) {
        return fail("has a \"title\" that is not a string");
    }
    PSPageDescription description;
    description.title = root["title"].isString() ? *root["title"].stringValue() : "";
    const PlistValue::Array& items = *root["items"].arrayValue();
    for (std::size_t i = 0; i < items.size(); ++i) {
        RowReader reader(items[i], target);
        if (auto problem = reader.check()) {
            return fail(fmt::format("{} {}", rowName(items[i], i), *problem));
        }
        description.specifiers.push_back(reader.build());
    }
    return description;
}
