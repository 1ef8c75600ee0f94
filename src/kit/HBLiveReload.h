#pragma once

#include <functional>
#include <memory>

#include "store/HBPreferencesObserver.h"

class UIViewController;

// Keeps a page true to the settings file while it is shown: when the store takes in what
// another program wrote, or a step is undone or redone, the page refreshes on the main queue,
// after whatever is running (a save may be under way), and only while it is the top of its
// navigation; a page that is not shown refreshes when it appears.
class HBLiveReload : public HBPreferencesObserver,
                     public std::enable_shared_from_this<HBLiveReload> {
  public:
    // Observes the pane's store for `page`, which owns the result; `refresh` is the page's,
    // and `afterStep` its refresh after an undo or redo (none: `refresh`).
    static std::shared_ptr<HBLiveReload> attach(UIViewController& page,
                                                std::function<void()> refresh,
                                                std::function<void()> afterStep = nullptr);
    HBLiveReload(UIViewController& page, std::function<void()> refresh,
                 std::function<void()> afterStep);

    void preferencesDidChangeElsewhere() override;
    void preferencesDidTakeStep() override;

  private:
    bool pageIsShown() const;
    void refreshSoon(std::function<void()> HBLiveReload::*refresh);

    UIViewController* _page;
    std::function<void()> _refresh;
    std::function<void()> _afterStep;
};
