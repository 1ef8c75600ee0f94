#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

class UIView;

// Names the views a screen shows, so that events can name them back. A view keeps its name
// for as long as it lives; a new view at the address of a dead one gets a new name.
class ViewIdentifiers {
  public:
    std::string identifierFor(UIView& view);
    // The live view of that name; null for a name never given or a view that has gone.
    std::shared_ptr<UIView> viewFor(const std::string& identifier) const;
    // Drops the names of views that have gone, so the tables do not grow with every page.
    void forgetDeadViews();
    std::size_t size() const { return byView_.size(); }

  private:
    struct Entry {
        std::weak_ptr<UIView> view;
        std::string identifier;
    };

    std::string assign(UIView& view);

    std::unordered_map<const UIView*, Entry> byView_;
    std::unordered_map<std::string, std::weak_ptr<UIView>> byIdentifier_;
    std::uint64_t next_ = 1;
};
