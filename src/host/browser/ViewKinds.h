#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <string_view>
#include <vector>

class UIView;
class ViewWriteContext;

// How one kind of native view is written into the screen JSON. Adding a kind is one entry in
// ViewKinds::all(), one render function in the page's web modules and one line in
// docs/protocol.md; a kind that takes input has an entry in ViewInputs too.
struct ViewKind {
    enum class Subviews { Written, Omitted };
    using Matches = std::function<bool(const UIView&)>;
    using Write = std::function<void(UIView&, ViewWriteContext&, nlohmann::json&)>;

    // The class the page renders it as; a subclass is written with "kind" set to it.
    std::string_view name;
    Matches matches;
    Write write;
    Subviews subviews = Subviews::Written;
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
