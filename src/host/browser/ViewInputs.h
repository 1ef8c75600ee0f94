#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"

class UIView;

// How the views of one kind (by its name in ViewKinds) take the page's input, through the
// toolkit's user entry points as touches and typing would.
struct ViewInput {
    // A "control" event: its name ("touchDown"...) and the whole event.
    using Control = std::function<Status(UIView&, const std::string&, const nlohmann::json&)>;
    // A "text" event: the typed text and whether editing ended.
    using Text = std::function<Status(UIView&, const std::string&, bool)>;

    std::string_view kind;
    Control control;
    Text text;
};

class ViewInputs {
  public:
    static const std::vector<ViewInput>& all();
    // The input of the view's kind; null for a kind that takes none.
    static const ViewInput* of(const UIView& view);
};
