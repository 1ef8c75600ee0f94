#include "platform/ui/UIApplication.h"

#include "platform/ui/UIWindow.h"

UIApplication& UIApplication::sharedApplication() {
    static UIApplication application;
    return application;
}

void UIApplication::setKeyWindow(std::shared_ptr<UIWindow> window) {
    keyWindow_ = std::move(window);
}

bool UIApplication::openURL(const NSURL& url) {
    opened_.push_back(url);
    return true;
}

std::vector<NSURL> UIApplication::takeOpenedURLs() {
    std::vector<NSURL> taken;
    taken.swap(opened_);
    return taken;
}
