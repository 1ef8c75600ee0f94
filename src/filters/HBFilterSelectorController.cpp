#include "filters/HBFilterSelectorController.h"

#include "filters/HBToneCatalogue.h"
#include "pages/HuebadgeListController.h"
#include "platform/foundation/NSURL.h"
#include "platform/ui/UIApplication.h"

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
    std::string address =
        std::string(HuebadgeListController::kMakerSite) + "/repo/html/regularexpressions.htm";
    if (auto url = NSURL::URLWithString(address)) {
        UIApplication::sharedApplication().openURL(*url);
    }
}
