#pragma once

#include <memory>
#include <vector>

#include "platform/foundation/NSURL.h"

class UIWindow;

// The running application: its key window, and the URLs it was asked to open, which a host
// reads (and drains) to open them for real.
class UIApplication {
  public:
    static UIApplication& sharedApplication();

    const std::shared_ptr<UIWindow>& keyWindow() const { return keyWindow_; }
    // Called by UIWindow::makeKeyAndVisible; null removes the key window.
    void setKeyWindow(std::shared_ptr<UIWindow> window);

    // Records the URL; true, as the system takes any well-formed URL.
    bool openURL(const NSURL& url);
    const std::vector<NSURL>& openedURLs() const { return opened_; }
    std::vector<NSURL> takeOpenedURLs();

  private:
    UIApplication() = default;

    std::shared_ptr<UIWindow> keyWindow_;
    std::vector<NSURL> opened_;
};
