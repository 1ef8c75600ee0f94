#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"
#include "platform/prefs/PSSpecifier.h"

// A page's rows as described by a property list in the Preferences framework's format: a
// dictionary with "title" and an "items" array of row dictionaries ("cell", "label", "key",
// "default", "id", "detail", "cellClass", "validValues"/"validTitles", "action", ...).
// Every key of a row is kept as a row property; the ones the framework interprets are
// checked, so a mistyped description fails with the file and the row named.
class PSPageDescription {
  public:
    std::string title;
    std::vector<PSSpecifierPtr> specifiers;

    // Reads resources/NAME.plist.
    static Result<PSPageDescription> load(std::string_view name, PSListController* target);
    // Builds the rows of an already parsed description; FILE only names it in messages.
    static Result<PSPageDescription> fromPlist(const PlistValue& root, std::string_view file,
                                               PSListController* target);

    // The cell type of a framework cell name ("PSSwitchCell"), or -1.
    static long cellTypeNamed(std::string_view name);
};
