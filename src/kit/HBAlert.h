#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/UIAlertController.h"

class UIViewController;

// The pane's alerts: always the alert style, every action of the default style. A page shows
// its own without animation; cells, pickers and the filter editor show theirs, animated, on
// the root view controller of the application's key window.
class HBAlert {
  public:
    // Capture weak pointers or values: the alert keeps its handlers and may outlive their
    // owner. A null handler only dismisses.
    using Handler = std::function<void()>;
    struct Action {
        std::string title;
        Handler handler;
    };

    static std::shared_ptr<UIAlertController> make(const std::optional<std::string>& title,
                                                   const std::optional<std::string>& message,
                                                   std::vector<Action> actions = {});
    static void addAction(UIAlertController& alert, std::string title, Handler handler);
    // A page's own alert.
    static bool showOn(UIViewController& page, const std::shared_ptr<UIAlertController>& alert);
    // An alert of a cell, a picker or the editor; false when there is no key window or it
    // shows something already.
    static bool showOnKeyWindow(const std::shared_ptr<UIAlertController>& alert);
};
