#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/ClassRegistry.h"
#include "platform/prefs/PSViewController.h"

// Page classes that take a type (which set of settings they edit) or a row index when made.
using HBTypedControllerClasses = ClassRegistry<PSViewController, long>;

// The one way a page opens another page by class name: makes it from the page classes
// (with a type, from the typed ones), gives it the opener's navigation stack and the opener
// as parent, and pushes it. Null when no class of that name is registered.
class HBPageRouter {
  public:
    static PSViewControllerPtr pushPage(PSViewController& from, const std::string& className,
                                        std::optional<long> type = std::nullopt);
    // Pushes a page the opener made itself.
    static void push(PSViewController& from, const PSViewControllerPtr& page);

    // The maker's web site, and opening one of its pages (a path below it) in the browser.
    static constexpr const char* kMakerSite = "https://quorvel.net";
    static void openMakerPage(std::string_view path);
};
