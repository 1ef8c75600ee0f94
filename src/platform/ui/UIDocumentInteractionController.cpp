#include "platform/ui/UIDocumentInteractionController.h"

#include <filesystem>
#include <system_error>
#include "platform/system/DeviceRoot.h"

namespace {

std::vector<UIDocumentInteractionController::Share>& shares() {
    static std::vector<UIDocumentInteractionController::Share> list;
    return list;
}

}  // namespace

std::shared_ptr<UIDocumentInteractionController>
UIDocumentInteractionController::interactionControllerWithURL(NSURL url) {
    return std::make_shared<UIDocumentInteractionController>(std::move(url));
}

UIDocumentInteractionController::UIDocumentInteractionController(NSURL url)
    : url_(std::move(url)) {}

bool UIDocumentInteractionController::presentOptionsMenuFromRect(CGRect rect, UIView*, bool) {
    if (!url_.isFileURL()) {
        return false;
    }
    std::string hostPath = DeviceRoot::resolve(url_.path());
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error)) {
        return false;
    }
    presenting_ = true;
    shares().push_back(Share{url_, hostPath, rect});
    return true;
}

void UIDocumentInteractionController::dismissMenuAnimated(bool) {
    presenting_ = false;
}

void UIDocumentInteractionController::userDismissedOptionsMenu() {
    if (!presenting_) {
        return;
    }
    presenting_ = false;
    if (delegate_) {
        delegate_->documentInteractionControllerDidDismissOptionsMenu(this);
    }
}

const std::vector<UIDocumentInteractionController::Share>&
UIDocumentInteractionController::presentedShares() {
    return shares();
}

std::vector<UIDocumentInteractionController::Share>
UIDocumentInteractionController::takePresentedShares() {
    std::vector<Share> taken;
    taken.swap(shares());
    return taken;
}
