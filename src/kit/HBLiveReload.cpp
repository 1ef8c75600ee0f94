#include "kit/HBLiveReload.h"

#include "platform/dispatch/RunLoop.h"
#include "platform/ui/UINavigationController.h"
#include "store/HBPreferences.h"

std::shared_ptr<HBLiveReload> HBLiveReload::attach(UIViewController& page,
                                                   std::function<void()> refresh,
                                                   std::function<void()> afterStep) {
    auto live = std::make_shared<HBLiveReload>(page, std::move(refresh), std::move(afterStep));
    HBPreferences::paneStore().addObserver(live);
    return live;
}

HBLiveReload::HBLiveReload(UIViewController& page, std::function<void()> refresh,
                           std::function<void()> afterStep)
    : _page(&page), _refresh(std::move(refresh)), _afterStep(std::move(afterStep)) {
    if (!_afterStep) {
        _afterStep = _refresh;
    }
}

void HBLiveReload::preferencesDidChangeElsewhere() {
    refreshSoon(&HBLiveReload::_refresh);
}

void HBLiveReload::preferencesDidTakeStep() {
    refreshSoon(&HBLiveReload::_afterStep);
}

void HBLiveReload::refreshSoon(std::function<void()> HBLiveReload::*refresh) {
    RunLoop::main().post([live = weak_from_this(), refresh] {
        if (std::shared_ptr<HBLiveReload> self = live.lock(); self && self->pageIsShown()) {
            ((*self).*refresh)();
        }
    });
}

bool HBLiveReload::pageIsShown() const {
    UINavigationController* navigation = _page->navigationController();
    return navigation && navigation->topViewController() == _page;
}
