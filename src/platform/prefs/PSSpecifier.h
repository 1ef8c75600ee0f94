#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/PlistValue.h"

class PSListController;

// The Preferences framework's cell types, with the framework's numbers.
enum PSCellType : long {
    PSGroupCell = 0,
    PSLinkCell = 1,
    PSLinkListCell = 2,
    PSListItemCell = 3,
    PSTitleValueCell = 4,
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSSegmentCell = 9,
    PSGiantIconCell = 10,
    PSGiantCell = 11,
    PSSecureEditTextCell = 12,
    PSButtonCell = 13,
    PSEditTextViewCell = 14,
};

// One row of a settings page: its caption, its cell type, the page it belongs to (the target,
// which reads and stores the row's value), the page it opens, its choices and free-form
// properties. The pages override readPreferenceValue/setPreferenceValue, so a row only needs
// to know whether it is bound to them.
class PSSpecifier {
  public:
    enum Setter { NoSetter, SetPreferenceValue };
    enum Getter { NoGetter, ReadPreferenceValue };
    using Action = std::function<void(PSSpecifier&)>;
    // One choice of a list row: its value and the title shown for it.
    using TitleEntry = std::pair<PlistValue, std::string>;

    PSSpecifier(std::string name, PSListController* target, PSCellType cellType);

    static std::shared_ptr<PSSpecifier> preferenceSpecifierNamed(std::string name,
                                                                 PSListController* target,
                                                                 Setter set, Getter get,
                                                                 std::string detail,
                                                                 PSCellType cell, std::string edit);
    static std::shared_ptr<PSSpecifier> emptyGroupSpecifier();
    static std::shared_ptr<PSSpecifier> groupSpecifierWithName(std::string name);

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    // The page that owns the row; never owned by the row.
    PSListController* target() const { return target_; }
    void setTarget(PSListController* target) { target_ = target; }
    PSCellType cellType() const { return cellType_; }
    void setCellType(PSCellType cellType) { cellType_ = cellType; }
    bool hasSetter() const { return setter_ == SetPreferenceValue; }
    bool hasGetter() const { return getter_ == ReadPreferenceValue; }
    void setBinding(Setter set, Getter get);
    // The page class a link row opens, by registered name; empty for none.
    const std::string& detailControllerClass() const { return detail_; }
    void setDetailControllerClass(std::string detail) { detail_ = std::move(detail); }
    const std::string& editPaneClass() const { return edit_; }
    void setEditPaneClass(std::string edit) { edit_ = std::move(edit); }

    // The row's "id" property; empty when it has none.
    std::string identifier() const;
    void setIdentifier(std::string identifier);

    // An absent value removes the property.
    void setProperty(PlistValue value, std::string_view key);
    // The property, or an absent value.
    PlistValue propertyForKey(std::string_view key) const;
    const PlistValue::Dictionary& properties() const { return properties_; }

    // The choices of a list row: parallel lists of values and titles.
    void setValues(PlistValue::Array values, std::vector<std::string> titles);
    const PlistValue::Array& values() const { return values_; }
    const std::vector<std::string>& titles() const { return titles_; }
    // Value to title, one entry per distinct value (a repeated value keeps its last title).
    std::vector<TitleEntry> titleDictionary() const;
    // The title of a value, or null when it is not among the choices.
    const std::string* titleForValue(const PlistValue& value) const;
    // The position of a value among the choices (the last when it repeats), or -1. Numbers
    // match by value whatever their kind, as the platform's number objects do.
    long indexOfValue(const PlistValue& value) const;

    // A button row's action: code given directly, or a name the target resolves.
    const Action& action() const { return action_; }
    void setAction(Action action) { action_ = std::move(action); }
    const std::string& actionName() const { return actionName_; }
    void setActionName(std::string name) { actionName_ = std::move(name); }

  private:
    std::string name_;
    PSListController* target_ = nullptr;
    PSCellType cellType_ = PSGroupCell;
    Setter setter_ = NoSetter;
    Getter getter_ = NoGetter;
    std::string detail_;
    std::string edit_;
    PlistValue::Dictionary properties_;
    PlistValue::Array values_;
    std::vector<std::string> titles_;
    Action action_;
    std::string actionName_;
};

using PSSpecifierPtr = std::shared_ptr<PSSpecifier>;
