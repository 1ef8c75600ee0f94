#pragma once

#include <cstdint>
#include <memory>

#include "platform/dispatch/Dispatch.h"
#include "platform/ui/UIViewController.h"

// The pages whose lists may have changed while they were hidden (an edit in a page above, a
// file shared by another app) read them again a quarter second after they appear. The task
// holds the page weakly: a page that is gone by then reloads nothing.
class HBDelayedReload {
  public:
    static constexpr double kDelay = 0.25;

    template <typename Page>
    static void schedule(Page& page, void (Page::*reload)()) {
        std::weak_ptr<UIViewController> weak = page.weak_from_this();
        dispatch_after(
            dispatch_time(DISPATCH_TIME_NOW, static_cast<std::int64_t>(kDelay * NSEC_PER_SEC)),
            dispatch_get_main_queue(), [weak, reload] {
                if (std::shared_ptr<UIViewController> shown = weak.lock()) {
                    (static_cast<Page&>(*shown).*reload)();
                }
            });
    }
};
