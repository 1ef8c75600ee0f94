#include "filters/HBFilterController.h"

#include "filters/HBFilterSelectorController.h"
#include "platform/prefs/PSClasses.h"

namespace {

const bool kHBFilterControllerRegistered = PSControllerClasses::registerClass(
    "HBFilterController", [] { return std::make_shared<HBFilterController>(); });

}  // namespace

PSViewControllerPtr HBFilterController::makeEditor(long row) {
    return std::make_shared<HBFilterSelectorController>(row);
}
