#include "platform/prefs/PSViewController.h"

#include "platform/ui/UINavigationController.h"

void PSViewController::pushController(const std::shared_ptr<UIViewController>& controller) {
    if (!controller) {
        return;
    }
    UINavigationController* navigation =
        navigationController() ? navigationController() : rootController();
    if (auto* page = dynamic_cast<PSViewController*>(controller.get())) {
        if (!page->rootController()) {
            page->setRootController(navigation);
        }
        if (!page->parentController()) {
            page->setParentController(this);
        }
    }
    if (navigation) {
        navigation->pushViewController(controller, true);
    }
}
