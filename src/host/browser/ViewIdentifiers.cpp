#include "host/browser/ViewIdentifiers.h"

#include "platform/ui/UIView.h"

#include <fmt/format.h>

std::string ViewIdentifiers::identifierFor(UIView& view) {
    auto found = byView_.find(&view);
    if (found != byView_.end() && found->second.view.lock().get() == &view) {
        return found->second.identifier;
    }
    return assign(view);
}

std::string ViewIdentifiers::assign(UIView& view) {
    std::string identifier = fmt::format("v{}", next_++);
    std::weak_ptr<UIView> weak = view.weak_from_this();
    byView_[&view] = Entry{weak, identifier};
    byIdentifier_[identifier] = weak;
    return identifier;
}

std::shared_ptr<UIView> ViewIdentifiers::viewFor(const std::string& identifier) const {
    auto found = byIdentifier_.find(identifier);
    return found == byIdentifier_.end() ? nullptr : found->second.lock();
}

void ViewIdentifiers::forgetDeadViews() {
    std::erase_if(byView_, [](const auto& entry) { return entry.second.view.expired(); });
    std::erase_if(byIdentifier_, [](const auto& entry) { return entry.second.expired(); });
}
