#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/browser/ScreenSource.h"
#include "host/browser/ScreenSourceFactory.h"

// A small fixed screen that the browser host shows until the pane's own screens are
// connected: a choice page, an editable list, a switch, a slider, a naming alert, a web link
// and a shared file, enough to try every part of the page and the protocol by hand.
class DemoScreenSource : public ScreenSource {
  public:
    explicit DemoScreenSource(const ScreenOptions& options);

    nlohmann::json screen() override;
    Status handleEvent(const nlohmann::json& event) override;
    std::uint64_t revision() const override { return revision_; }
    void runDueWork() override {}
    std::optional<SharedFile> takeSharedFile() override;
    std::vector<std::string> takeOpenedURLs() override;

  private:
    enum class Page { Root, LabelType, Filters };

    nlohmann::json rootPage() const;
    nlohmann::json labelTypePage() const;
    nlohmann::json filtersPage() const;
    std::string title(Page page) const;
    nlohmann::json row(const std::string& text, const std::string& detail,
                       const std::string& accessory) const;
    nlohmann::json table(nlohmann::json sections) const;
    nlohmann::json alert() const;
    Status tapRow(const nlohmann::json& event);
    Status tapRootRow(std::size_t section, std::size_t row);
    Status control(const nlohmann::json& event);
    Status alertAction(const nlohmann::json& event);
    Status moveRow(const nlohmann::json& event);
    Status deleteRow(const nlohmann::json& event);
    Status back();
    Status changed();

    ScreenOptions options_;
    std::vector<Page> pages_{Page::Root};
    std::string labelType_ = "Bar";
    std::string name_ = "Home";
    bool enabled_ = true;
    double alphaLevel_ = 25;
    bool alertShown_ = false;
    std::vector<std::string> filters_{"Work", "Family", "News"};
    std::optional<SharedFile> sharedFile_;
    std::vector<std::string> openedURLs_;
    std::uint64_t revision_ = 1;
};
