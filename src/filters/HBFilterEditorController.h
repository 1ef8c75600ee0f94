#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "filters/HBFilterTester.h"
#include "kit/HuebadgePSListController.h"
#include "model/HBFilterKind.h"
#include "model/HBFilterLists.h"

// The editor of one enabled filter of a kind: the rows of the kind's description bound to
// the record's entries, the colour row, the live "Search Formula", and a "Test" group that
// tries the filter on sample values typed for its fields. Patterns are checked before they
// are stored; every change is saved at once. Samples live on the page only: the settings
// file is read by the extension, and they are not settings. The editor edits record `_row` for
// its whole life: when that record is gone (or not a record), rows show their defaults and
// changes store nothing.
class HBFilterEditorController : public HuebadgePSListController {
  public:
    static constexpr double kRowHeight = 34;

    HBFilterEditorController(const HBFilterKind& kind, long row);
    std::string className() const override { return "HBFilterEditorController"; }

    const std::vector<PSSpecifierPtr>& specifiers() override;
    PlistValue readPreferenceValue(const PSSpecifierPtr& specifier) override;
    void reload() override;
    void setPreferenceValue(const PlistValue& value, const PSSpecifierPtr& specifier) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    double heightForRowAtIndexPath(UITableView*, const NSIndexPath&) override { return kRowHeight; }

    long row() const { return _row; }
    // The formula as the caches give it now.
    std::string formula() const;
    // The filter, as the caches give it now, tried on the samples typed so far.
    const HBFilterTestResult& testResult();

  protected:
    // Rows a kind adds after the formula group.
    virtual void appendRows(std::vector<PSSpecifierPtr>&) {}

    const HBFilterKind& kind_;
    long _row;

  private:
    // What the editor last read or stored for one field: its match type, its text and
    // whether that makes it present.
    struct FieldCache {
        std::int64_t type = 0;
        bool present = false;
        std::string text;
    };
    // The inputs of the last test and its verdict: a catastrophic pattern costs its time
    // limit on every test, so an unchanged filter and samples are not tested again.
    struct LastTest {
        std::vector<HBFilterTestField> fields;
        std::vector<std::string> samples;
        bool everyRecipient = false;
        HBFilterTestResult result;
    };

    bool matchesEveryRecipient() const;

    PlistValue record() const;
    HBFilterLists lists() const;
    void updateCache(const std::string& key, const PlistValue& value);
    void fillCaches();
    // What a row of the record shows: the stored entry, else the row's default.
    PlistValue storedValue(const PSSpecifier& specifier) const;
    void appendTestRows(std::vector<PSSpecifierPtr>& rows);
    // The index of the field a sample row is for; none for any other row.
    std::optional<std::size_t> sampleIndex(const PSSpecifier& specifier) const;
    void showSummaries();
    void showRowText(const PSSpecifierPtr& specifier, const std::string& text);
    void showMatchTypeDetail(const HBFilterField& field);
    void refusePattern(const std::string& key, const std::string& pattern, const std::string& error,
                       const PSSpecifierPtr& specifier);
    bool isPresentField(const std::string& matchTypeKey) const;
    std::size_t fieldIndex(const HBFilterField& field) const;

    std::vector<FieldCache> caches_;
    PSSpecifierPtr _formulaSpecifier;
    PSSpecifierPtr colorSpecifier_;
    std::vector<PSSpecifierPtr> sampleSpecifiers_;
    std::vector<std::string> samples_;
    PSSpecifierPtr testResultSpecifier_;
    std::optional<LastTest> lastTest_;
};
