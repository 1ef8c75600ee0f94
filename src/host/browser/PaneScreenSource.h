#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/HeadlessHost.h"
#include "host/browser/ImageCache.h"
#include "host/browser/ScreenSource.h"
#include "host/browser/ScreenSourceFactory.h"
#include "host/browser/ViewIdentifiers.h"
#include "store/HBUndoHistory.h"

class HBFileTaker;

// Serves the pane itself: its pages run on the toolkit in a headless host, the screen is
// whatever the toolkit shows, and events reach the pages through the toolkit's user entry
// points, as touches and typing would.
class PaneScreenSource : public ScreenSource {
  public:
    static constexpr std::string_view kRootPageClass = "HuebadgeListController";

    // Applies the screen size and appearance, then shows the registered page class as the
    // first page; null when no page class has that name.
    static std::unique_ptr<PaneScreenSource> start(const ScreenOptions& options,
                                                   std::string_view pageClass = kRootPageClass);

    nlohmann::json screen() override;
    Status handleEvent(const nlohmann::json& event) override;
    std::uint64_t revision() const override { return revision_; }
    void runDueWork() override;
    std::optional<std::string> drawing(const std::string& identifier,
                                       std::uint64_t version) override;
    // A page that takes files (the profile page: as a profile to import) takes it.
    Status receiveFile(const std::string& name, std::string_view bytes) override;
    std::optional<SharedFile> takeSharedFile() override;
    std::vector<std::string> takeOpenedURLs() override;

    HeadlessHost& host() { return *host_; }

  private:
    explicit PaneScreenSource(std::unique_ptr<HeadlessHost> host);

    nlohmann::json buildScreen();
    nlohmann::json navigation();
    static nlohmann::json saveFailure();
    static nlohmann::json history();
    static nlohmann::json sounds();
    // Rebuilds the screen and moves the revision on when it differs from the last one.
    void refresh();
    void collectOutcomes();

    Status dispatch(const nlohmann::json& event);
    Status tapRow(const nlohmann::json& event);
    Status moveRow(const nlohmann::json& event);
    Status deleteRow(const nlohmann::json& event);
    Status longPress(const nlohmann::json& event);
    Status control(const nlohmann::json& event);
    Status scroll(const nlohmann::json& event);
    Status text(const nlohmann::json& event);
    Status alertAction(const nlohmann::json& event);
    Status back();
    Status takeStep(HBUndoHistory::Direction direction);
    Status appearance(const nlohmann::json& event);

    Status checkRow(long section, long row);
    // The page shown, when it takes files and no alert is in the way; null otherwise.
    HBFileTaker* fileTaker();
    // The view of that identifier when it is on the top page; null otherwise.
    std::shared_ptr<UIView> visibleView(const std::string& identifier);

    std::unique_ptr<HeadlessHost> host_;
    ViewIdentifiers identifiers_;
    ImageCache images_;
    std::optional<nlohmann::json> fresh_;
    std::size_t hash_ = 0;
    std::uint64_t revision_ = 0;
    std::optional<SharedFile> sharedFile_;
    std::vector<std::string> openedURLs_;
};
