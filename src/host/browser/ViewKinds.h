#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"

class UIView;
class ViewTreeWriter;

// Everything the browser host knows of one kind of native view: how it is written into the
// screen JSON and which events it takes. Adding a kind is one entry in ViewKinds::all(), one
// render function in the page's views.js and one line in docs/protocol.md.
struct ViewKind {
    enum class Subviews { Written, Omitted };
    using Matches = std::function<bool(const UIView&)>;
    using Write = std::function<void(UIView&, ViewTreeWriter&, nlohmann::json&)>;
    // A "control" event: its name ("touchDown"...) and the whole event.
    using Control = std::function<Status(UIView&, const std::string&, const nlohmann::json&)>;
    // A "text" event: the typed text and whether editing ended.
    using Text = std::function<Status(UIView&, const std::string&, bool)>;

    // The class the page renders it as; a subclass is written with "kind" set to it.
    std::string_view name;
    Matches matches;
    Write write;
    Subviews subviews = Subviews::Written;
    Control control;
    Text text;
};

class ViewKinds {
  public:
    // Most specific first: the first entry that matches a view is its kind.
    static const std::vector<ViewKind>& all();
    static const ViewKind& of(const UIView& view);
    // The kind a view has as a toolkit class, ignoring that it draws itself.
    static const ViewKind& nativeOf(const UIView& view);
    static constexpr std::string_view kSelfDrawn = "selfDrawn";
};
