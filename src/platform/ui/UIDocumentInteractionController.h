#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/NSURL.h"
#include "platform/ui/UIView.h"

class UIDocumentInteractionController;

class UIDocumentInteractionControllerDelegate {
  public:
    virtual ~UIDocumentInteractionControllerDelegate() = default;
    virtual void documentInteractionControllerDidDismissOptionsMenu(
        UIDocumentInteractionController*) {}
};

// Offers a file to other apps. Presenting the options menu fails when there is no file to
// offer; otherwise the share is recorded for the host, which offers the file for download.
class UIDocumentInteractionController
    : public std::enable_shared_from_this<UIDocumentInteractionController> {
  public:
    // A share on offer: the file URL as the pane gave it and the file's path on this host.
    struct Share {
        NSURL url;
        std::string hostPath;
        CGRect fromRect;
    };

    static std::shared_ptr<UIDocumentInteractionController> interactionControllerWithURL(NSURL url);
    explicit UIDocumentInteractionController(NSURL url);

    const NSURL& URL() const { return url_; }
    void setURL(NSURL url) { url_ = std::move(url); }
    UIDocumentInteractionControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(UIDocumentInteractionControllerDelegate* delegate) { delegate_ = delegate; }

    // NO when the URL is not a file URL or names no existing file.
    bool presentOptionsMenuFromRect(CGRect rect, UIView* inView, bool animated);
    bool isPresentingOptionsMenu() const { return presenting_; }
    void dismissMenuAnimated(bool animated);
    // The user closed the menu: it goes and the delegate hears of it.
    void userDismissedOptionsMenu();

    // Shares presented so far, oldest first; take drains them.
    static const std::vector<Share>& presentedShares();
    static std::vector<Share> takePresentedShares();

  private:
    NSURL url_;
    UIDocumentInteractionControllerDelegate* delegate_ = nullptr;
    bool presenting_ = false;
};
