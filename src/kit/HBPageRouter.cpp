#include "kit/HBPageRouter.h"

#include "platform/foundation/NSURL.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/UIApplication.h"

PSViewControllerPtr HBPageRouter::pushPage(PSViewController& from, const std::string& className,
                                           std::optional<long> type) {
    PSViewControllerPtr page = type ? HBTypedControllerClasses::create(className, *type)
                                    : PSControllerClasses::create(className);
    if (page) {
        push(from, page);
    }
    return page;
}

void HBPageRouter::push(PSViewController& from, const PSViewControllerPtr& page) {
    page->setRootController(from.rootController());
    page->setParentController(&from);
    from.pushController(page);
}

void HBPageRouter::openMakerPage(std::string_view path) {
    if (auto url = NSURL::URLWithString(std::string(kMakerSite) + std::string(path))) {
        UIApplication::sharedApplication().openURL(*url);
    }
}
