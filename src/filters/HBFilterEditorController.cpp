#include "filters/HBFilterEditorController.h"

#include <tuple>

#include "filters/HBSearchFormula.h"
#include "kit/HBAlert.h"
#include "kit/HBPalette.h"
#include "model/HBFilterRecord.h"
#include "store/HBPreferences.h"
#include "store/HBUndoHistory.h"

namespace {

const std::string* keyOf(const PSSpecifier& specifier) {
    return specifier.propertyForKey("key").stringValue();
}

}  // namespace

HBFilterEditorController::HBFilterEditorController(const HBFilterKind& kind, long row)
    : kind_(kind), _row(row), caches_(kind.fields.size()), samples_(kind.fields.size()) {}

const std::vector<PSSpecifierPtr>& HBFilterEditorController::specifiers() {
    if (_specifiers) {
        return *_specifiers;
    }
    std::vector<PSSpecifierPtr> rows = loadSpecifiersFromPlistName(kind_.editorDescription, this);
    std::string colorTitle = kind_.colorRowTitle(_row);
    colorSpecifier_ = PSSpecifier::preferenceSpecifierNamed(
        colorTitle, this, PSSpecifier::NoSetter, PSSpecifier::NoGetter, "HBColorSelectorController",
        PSLinkCell, "");
    colorSpecifier_->setProperty(PlistValue(colorTitle), "title");
    colorSpecifier_->setProperty(PlistValue(colorTitle), "label");
    rows.push_back(colorSpecifier_);
    PSSpecifierPtr group = PSSpecifier::groupSpecifierWithName("Search Formula");
    group->setProperty(PlistValue::boolean(false), "enabled");
    rows.push_back(group);
    _formulaSpecifier = PSSpecifier::preferenceSpecifierNamed(
        "Search", this, PSSpecifier::NoSetter, PSSpecifier::NoGetter, "", PSStaticTextCell, "");
    rows.push_back(_formulaSpecifier);
    appendTestRows(rows);
    appendRows(rows);
    _specifiers = std::move(rows);
    fillCaches();
    return *_specifiers;
}

// The caches hold what the rows show: filled from the record (or the rows' defaults) when the
// rows are loaded, and from each value the user gives afterwards.
void HBFilterEditorController::fillCaches() {
    for (const PSSpecifierPtr& specifier : *_specifiers) {
        if (const std::string* key = keyOf(*specifier); key && !sampleIndex(*specifier)) {
            updateCache(*key, storedValue(*specifier));
        }
    }
    showSummaries();
}

void HBFilterEditorController::reload() {
    if (_specifiers) {
        fillCaches();
    }
    HuebadgePSListController::reload();
}

// One text row per field for its sample, then the verdict. The sample rows are bound to this
// page but name no key, so nothing typed there can reach the record; their captions differ
// from the pattern rows' so that each field has a name of its own.
void HBFilterEditorController::appendTestRows(std::vector<PSSpecifierPtr>& rows) {
    PSSpecifierPtr group = PSSpecifier::groupSpecifierWithName("Test");
    group->setProperty(PlistValue("Type sample values to see whether the filter matches them. "
                                  "Samples are not saved. " +
                                  HBFilterTester::matchingRule(kind_, matchesEveryRecipient())),
                       "footerText");
    rows.push_back(group);
    for (const HBFilterField& field : kind_.fields) {
        auto sample = PSSpecifier::preferenceSpecifierNamed(
            field.word + " sample", this, PSSpecifier::SetPreferenceValue,
            PSSpecifier::ReadPreferenceValue, "", PSEditTextCell, "");
        sample->setProperty(PlistValue("HBEditTextCell"), "cellClass");
        sample->setProperty(PlistValue("Text to try"), "placeholder");
        sampleSpecifiers_.push_back(sample);
        rows.push_back(sample);
    }
    testResultSpecifier_ = PSSpecifier::preferenceSpecifierNamed(
        "", this, PSSpecifier::NoSetter, PSSpecifier::NoGetter, "", PSStaticTextCell, "");
    rows.push_back(testResultSpecifier_);
}

std::optional<std::size_t> HBFilterEditorController::sampleIndex(
    const PSSpecifier& specifier) const {
    for (std::size_t index = 0; index < sampleSpecifiers_.size(); ++index) {
        if (sampleSpecifiers_[index].get() == &specifier) {
            return index;
        }
    }
    return std::nullopt;
}

HBFilterLists HBFilterEditorController::lists() const {
    return HBFilterLists(kind_, HBPreferences::sharedInstance());
}

PlistValue HBFilterEditorController::record() const {
    if (_row < 0) {
        return {};
    }
    return lists().record({HBFilterLists::List::Enabled, static_cast<std::size_t>(_row)});
}

// An entry of the wrong kind (a number for a pattern, an array for the sound) reads as
// missing, so the row shows its default.
PlistValue HBFilterEditorController::readPreferenceValue(const PSSpecifierPtr& specifier) {
    if (std::optional<std::size_t> sample = sampleIndex(*specifier)) {
        return PlistValue(samples_[*sample]);
    }
    return storedValue(*specifier);
}

PlistValue HBFilterEditorController::storedValue(const PSSpecifier& specifier) const {
    const std::string* key = keyOf(specifier);
    PlistValue value;
    if (key) {
        PlistValue stored = record();
        value = stored.isDictionary() ? stored[*key] : PlistValue();
        bool expectedKind = kind_.fieldForMatchTypeKey(*key) ? value.isNumber() : value.isString();
        if (!expectedKind) {
            value = PlistValue();
        }
    }
    return value.isAbsent() ? specifier.propertyForKey("default") : value;
}

void HBFilterEditorController::setPreferenceValue(const PlistValue& value,
                                                  const PSSpecifierPtr& specifier) {
    if (std::optional<std::size_t> sample = sampleIndex(*specifier)) {
        const std::string* text = value.stringValue();
        samples_[*sample] = text ? *text : std::string();
        showSummaries();
        return;
    }
    const std::string* key = keyOf(*specifier);
    if (!key || key->empty()) {
        return;
    }
    const HBFilterField* field = kind_.fieldForKey(*key);
    if (field && field->isPattern && value.stringValue()) {
        if (auto error = HBFilterRecord::patternError(*value.stringValue())) {
            refusePattern(*key, *value.stringValue(), *error, specifier);
            return;
        }
    }
    updateCache(*key, value);
    if (field) {
        showMatchTypeDetail(*field);
    }
    if (_row >= 0) {
        HBUndoHistory::Scope step(specifier->name());
        std::ignore = lists().setRecordValue(static_cast<std::size_t>(_row), *key, value);
    }
    showSummaries();
}

std::size_t HBFilterEditorController::fieldIndex(const HBFilterField& field) const {
    return static_cast<std::size_t>(&field - kind_.fields.data());
}

void HBFilterEditorController::updateCache(const std::string& key, const PlistValue& value) {
    if (const HBFilterField* field = kind_.fieldForMatchTypeKey(key)) {
        caches_[fieldIndex(*field)].type = value.integerValue();
    } else if (const HBFilterField* pattern = kind_.fieldForKey(key)) {
        const std::string* text = value.stringValue();
        FieldCache& cache = caches_[fieldIndex(*pattern)];
        cache.text = text ? *text : std::string();
        cache.present = !cache.text.empty();
    }
}

std::string HBFilterEditorController::formula() const {
    std::vector<HBSearchFormula::Term> terms;
    for (std::size_t index = 0; index < kind_.fields.size(); ++index) {
        terms.push_back({kind_.fields[index].word, caches_[index].present, caches_[index].type});
    }
    return HBSearchFormula::formulaWithTerms(terms);
}

// The pane's own option, on unless the user turned it off.
bool HBFilterEditorController::matchesEveryRecipient() const {
    return !kind_.matchEveryRecipientKey.empty() &&
           HBPreferences::paneStore().boolForKey(kind_.matchEveryRecipientKey, true);
}

const HBFilterTestResult& HBFilterEditorController::testResult() {
    std::vector<HBFilterTestField> fields;
    for (const FieldCache& cache : caches_) {
        fields.push_back({cache.text, cache.type});
    }
    bool every = matchesEveryRecipient();
    if (!lastTest_ || lastTest_->fields != fields || lastTest_->samples != samples_ ||
        lastTest_->everyRecipient != every) {
        HBFilterTestResult result = HBFilterTester::test(kind_, fields, samples_, every);
        lastTest_ = LastTest{std::move(fields), samples_, every, std::move(result)};
    }
    return lastTest_->result;
}

void HBFilterEditorController::showSummaries() {
    if (_formulaSpecifier) {
        showRowText(_formulaSpecifier, formula());
    }
    if (testResultSpecifier_) {
        showRowText(testResultSpecifier_, testResult().text());
    }
}

// The row keeps the text for when its cell is made again; a cell on screen shows it now.
void HBFilterEditorController::showRowText(const PSSpecifierPtr& specifier,
                                           const std::string& text) {
    specifier->setName(text);
    std::optional<NSIndexPath> path = indexPathForSpecifier(specifier.get());
    UITableView* tableView = path ? table() : nullptr;
    if (UITableViewCellPtr cell = tableView ? tableView->cellForRowAtIndexPath(*path) : nullptr) {
        cell->textLabel()->setText(text);
    }
}

// The match type of an unused field means nothing, so its row hides it.
void HBFilterEditorController::showMatchTypeDetail(const HBFilterField& field) {
    for (const PSSpecifierPtr& specifier : specifiers()) {
        const std::string* key = keyOf(*specifier);
        if (!key || *key != field.matchTypeKey) {
            continue;
        }
        std::optional<NSIndexPath> path = indexPathForSpecifier(specifier.get());
        UITableViewCellPtr cell = path ? table()->cellForRowAtIndexPath(*path) : nullptr;
        if (cell) {
            cell->detailTextLabel()->setHidden(!caches_[fieldIndex(field)].present);
        }
    }
}

bool HBFilterEditorController::isPresentField(const std::string& matchTypeKey) const {
    const HBFilterField* field = kind_.fieldForMatchTypeKey(matchTypeKey);
    return field && caches_[fieldIndex(*field)].present;
}

// The refused text leaves the field too: the row shows what is kept.
void HBFilterEditorController::refusePattern(const std::string& key, const std::string& pattern,
                                             const std::string& error,
                                             const PSSpecifierPtr& specifier) {
    HBAlert::showOnKeyWindow(HBAlert::make(
        "ERROR - " + key, pattern + "\n\nInvalid regular expression\n" + error, {{"OK", nullptr}}));
    std::optional<NSIndexPath> path = indexPathForSpecifier(specifier.get());
    if (path && table()) {
        cellForRowAtIndexPath(table(), *path);
    }
}

UITableViewCellPtr HBFilterEditorController::cellForRowAtIndexPath(UITableView* tableView,
                                                                   const NSIndexPath& indexPath) {
    UITableViewCellPtr cell = HuebadgePSListController::cellForRowAtIndexPath(tableView, indexPath);
    PSSpecifierPtr specifier = specifierAtIndexPath(indexPath);
    if (specifier && specifier == colorSpecifier_) {
        auto preview = HBFilterRecord::preview(
            record(), kind_.previewAlphaLevel(HBPreferences::sharedInstance()));
        if (preview) {
            cell->setBackgroundColor(preview->background);
            cell->textLabel()->setTextColor(preview->text);
            return cell;
        }
    }
    const std::string* key = specifier ? keyOf(*specifier) : nullptr;
    if (key && kind_.fieldForMatchTypeKey(*key)) {
        cell->detailTextLabel()->setHidden(!isPresentField(*key));
    }
    HBPalette::current().paint(*cell);
    return cell;
}
