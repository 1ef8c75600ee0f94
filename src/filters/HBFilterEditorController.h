#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "filters/HBFilterKind.h"
#include "filters/HBFilterLists.h"
#include "pages/HuebadgePSListController.h"

// The editor of one enabled filter of a kind: the rows of the kind's description bound to
// the record's entries, the colour row, and the live "Search Formula". Patterns are checked
// before they are stored; every change is saved at once. The editor edits record `_row` for
// its whole life: when that record is gone (or not a record), rows show their defaults and
// changes store nothing.
class HBFilterEditorController : public HuebadgePSListController {
  public:
    static constexpr double kRowHeight = 34;

    HBFilterEditorController(const HBFilterKind& kind, long row);
    std::string className() const override { return "HBFilterEditorController"; }

    const std::vector<PSSpecifierPtr>& specifiers() override;
    PlistValue readPreferenceValue(const PSSpecifierPtr& specifier) override;
    void setPreferenceValue(const PlistValue& value, const PSSpecifierPtr& specifier) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    double heightForRowAtIndexPath(UITableView*, const NSIndexPath&) override { return kRowHeight; }

    long row() const { return _row; }
    // The formula as the caches give it now.
    std::string formula() const;

  protected:
    // Rows a kind adds after the formula group.
    virtual void appendRows(std::vector<PSSpecifierPtr>&) {}

    const HBFilterKind& kind_;
    long _row;

  private:
    // What the editor last read or stored for one field: its match type and presence.
    struct FieldCache {
        std::int64_t type = 0;
        bool present = false;
    };

    PlistValue record() const;
    HBFilterLists lists() const;
    void updateCache(const std::string& key, const PlistValue& value);
    void showFormula();
    void showMatchTypeDetail(const HBFilterField& field);
    void refusePattern(const std::string& key, const std::string& pattern, const std::string& error,
                       const PSSpecifierPtr& specifier);
    bool isPresentField(const std::string& matchTypeKey) const;
    std::size_t fieldIndex(const HBFilterField& field) const;

    std::vector<FieldCache> caches_;
    PSSpecifierPtr _formulaSpecifier;
    PSSpecifierPtr colorSpecifier_;
};
