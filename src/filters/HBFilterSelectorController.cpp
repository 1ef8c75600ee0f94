#include "filters/HBFilterSelectorController.h"

#include "filters/HBToneCatalogue.h"
#include "kit/HBPageRouter.h"

void HBFilterSelectorController::appendRows(std::vector<PSSpecifierPtr>& rows) {
    rows.push_back(PSSpecifier::groupSpecifierWithName("Help"));
    for (const PSSpecifierPtr& row : rows) {
        if (row->identifier() == kAlertSoundID) {
            HBToneCatalogue::build().applyTo(*row);
        }
    }
    auto help = PSSpecifier::preferenceSpecifierNamed("Case Insensitive Regular Expressions", this,
                                                      PSSpecifier::NoSetter, PSSpecifier::NoGetter,
                                                      "", PSButtonCell, "");
    help->setProperty(PlistValue::boolean(true), "enabled");
    help->setAction([this](PSSpecifier&) { openFAQ(); });
    rows.push_back(help);
}

void HBFilterSelectorController::openFAQ() {
    HBPageRouter::openMakerPage("/repo/html/regularexpressions.htm");
}
