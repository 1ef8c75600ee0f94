#include "kit/HBLiveReload.h"

#include "platform/dispatch/RunLoop.h"
#include "platform/ui/UINavigationController.h"
#include "store/HBPreferences.h"

std::shared_ptr<HBLiveReload> HBLiveReload::attach(UIViewController& page,
                                                   std::function<void()> refresh) {
    auto live = std::make_shared<HBLiveReload>(page, std::move(refresh));
    HBPreferences::paneStore().addObserver(live);
    return live;
}

HBLiveReload::HBLiveReload(UIViewController& page, std::function<void()> refresh)
    : _page(&page), _refresh(std::move(refresh)) {}

void HBLiveReload::preferencesDidChangeElsewhere() {
    RunLoop::main().post([live = weak_from_this()] {
        if (std::shared_ptr<HBLiveReload> self = live.lock(); self && self->pageIsShown()) {
            self->_refresh();
        }
    });
}

bool HBLiveReload::pageIsShown() const {
    UINavigationController* navigation = _page->navigationController();
    return navigation && navigation->topViewController() == _page;
}
