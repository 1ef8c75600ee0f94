#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/system/DarwinNotificationCenter.h"

// Counts deliveries of one notification name. Posts may coalesce, so tests ask whether any
// delivery arrived, not how many.
class NotificationProbe {
  public:
    explicit NotificationProbe(const std::string& name)
        : observation_(DarwinNotificationCenter::observe(name, [this] { ++deliveries_; })) {}

    bool observing() const { return observation_ != nullptr; }

    // True as soon as a delivery arrives; false after the time-out.
    bool waitForDelivery(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (deliveries_ == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return deliveries_ > 0;
    }

    // True when nothing arrived within a short settling time.
    bool staysQuiet() { return !waitForDelivery(std::chrono::milliseconds(300)); }

    void reset() { deliveries_ = 0; }

  private:
    std::atomic<int> deliveries_{0};
    std::unique_ptr<DarwinNotificationCenter::Observation> observation_;
};
