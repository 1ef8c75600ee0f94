#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#include "host/browser/ScreenSource.h"

// A screen of three rows and a tap counter. Tests change it from their own thread only
// through atomics (bumps stand for main-queue work such as a delayed reload), so the
// source itself is touched by the server's main thread alone.
class FakeScreenSource : public ScreenSource {
  public:
    std::atomic<int> eventsSeen{0};
    std::atomic<int> bumpsRequested{0};
    std::atomic<bool> handling{false};
    std::atomic<int> filesSeen{0};
    // How long each event takes, in milliseconds.
    std::atomic<int> eventDelay{0};

    nlohmann::json screen() override {
        nlohmann::json rows = nlohmann::json::array();
        for (int i = 0; i < 3; ++i) {
            rows.push_back({{"text", "Row " + std::to_string(i)}, {"height", 44}});
        }
        return {{"navigation", {{"title", "Fake"}, {"back", nullptr}}},
                {"page", {{"type", "UITableView"}, {"sections", {{{"rows", rows}}}}}},
                {"alert", nullptr},
                {"counter", counter_},
                {"file", file_}};
    }

    Status handleEvent(const nlohmann::json& event) override {
        ++eventsSeen;
        handling = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(eventDelay.load()));
        const std::string type = event["type"];
        if (type == "tapRow" && event["row"].get<int>() < 3) {
            return changed();
        }
        if (type == "longPress") {
            shared_ = SharedFile{"p.plist", "application/x-plist", std::string("\0\1hi\xff", 5)};
            return Status::success();
        }
        if (type == "back") {
            urls_.push_back("https://example.invalid/help");
            return Status::success();
        }
        return Status::failure("No such row");
    }

    // Takes "p.plist" (its bytes then show on the screen as "file"), refuses any other name.
    Status receiveFile(const std::string& name, std::string_view bytes) override {
        ++filesSeen;
        if (name != "p.plist") {
            return Status::failure("Not a profile");
        }
        file_ = std::string(bytes);
        return changed();
    }

    std::uint64_t revision() const override { return revision_; }

    void runDueWork() override {
        int pending = bumpsRequested.load();
        while (pending > 0 && !bumpsRequested.compare_exchange_weak(pending, pending - 1)) {
        }
        if (pending > 0) {
            (void)changed();
        }
    }

    // One drawing, "v1" at version 2.
    std::optional<std::string> drawing(const std::string& identifier,
                                       std::uint64_t version) override {
        if (identifier == "v1" && version == 2) {
            return std::string("\x89PNG fake", 9);
        }
        return std::nullopt;
    }

    std::optional<SharedFile> takeSharedFile() override {
        return std::exchange(shared_, std::nullopt);
    }
    std::vector<std::string> takeOpenedURLs() override { return std::exchange(urls_, {}); }

  private:
    Status changed() {
        ++counter_;
        ++revision_;
        return Status::success();
    }

    int counter_ = 0;
    std::string file_;
    std::uint64_t revision_ = 1;
    std::optional<SharedFile> shared_;
    std::vector<std::string> urls_;
};
