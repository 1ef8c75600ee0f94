#include "filters/HBFilterFolderController.h"

#include "filters/HBFilterFolderSelectorController.h"
#include "kit/HBPageRouter.h"

namespace {

const bool kHBFilterFolderControllerRegistered = HBTypedControllerClasses::registerClass(
    "HBFilterFolderController",
    [](long type) { return std::make_shared<HBFilterFolderController>(type); });

}  // namespace

PSViewControllerPtr HBFilterFolderController::makeEditor(long row) {
    return std::make_shared<HBFilterFolderSelectorController>(row, _type);
}
