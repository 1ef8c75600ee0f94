// huebadge-notify: posts and waits for the notifications that tell the extension (and the
// pane's other processes) that the settings changed.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/system/DarwinNotificationCenter.h"
#include "platform/system/DeviceRoot.h"

namespace {

constexpr int kUsageExit = 2;

int usage() {
    std::cerr << "usage: huebadge-notify [--device-root DIR] post NAME | wait NAME [--timeout "
                 "SECONDS] | watch NAME\n";
    return kUsageExit;
}

// Reads a time-out in seconds: a non-negative decimal number.
bool parseSeconds(const char* text, double& seconds) {
    char* end = nullptr;
    seconds = std::strtod(text, &end);
    return end != text && *end == '\0' && seconds >= 0 && seconds < 1e9;
}

int cannotObserve(std::string_view name) {
    std::cerr << "huebadge-notify: cannot observe \"" << name << "\"\n";
    return 1;
}

int post(std::string_view name) {
    if (!DarwinNotificationCenter::post(name)) {
        std::cerr << "huebadge-notify: cannot post \"" << name << "\"\n";
        return 1;
    }
    return 0;
}

// Exits 0 once NAME arrives, 1 when the time-out (if any) passes first.
int wait(std::string_view name, const double* timeoutSeconds) {
    std::mutex mutex;
    std::condition_variable arrived;
    bool delivered = false;
    auto observation = DarwinNotificationCenter::observe(name, [&] {
        std::lock_guard lock(mutex);
        delivered = true;
        arrived.notify_all();
    });
    if (!observation) {
        return cannotObserve(name);
    }
    std::unique_lock lock(mutex);
    if (!timeoutSeconds) {
        arrived.wait(lock, [&] { return delivered; });
        return 0;
    }
    auto timeout = std::chrono::duration<double>(*timeoutSeconds);
    return arrived.wait_for(lock, timeout, [&] { return delivered; }) ? 0 : 1;
}

// Prints NAME once per delivery until the process is stopped.
int watch(std::string_view name) {
    std::string line = std::string(name) + "\n";
    auto observation = DarwinNotificationCenter::observe(name, [line] {
        std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
    });
    if (!observation) {
        return cannotObserve(name);
    }
    std::mutex mutex;
    std::condition_variable never;
    std::unique_lock lock(mutex);
    never.wait(lock, [] { return false; });
    return 0;
}

int waitCommand(int argc, char** argv) {
    if (argc == 3) {
        return wait(argv[2], nullptr);
    }
    double seconds = 0;
    if (argc != 5 || std::string_view(argv[3]) != "--timeout" || !parseSeconds(argv[4], seconds)) {
        return usage();
    }
    return wait(argv[2], &seconds);
}

}  // namespace

int main(int argc, char** argv) {
    if (!DeviceRoot::chooseFromArguments(argc, argv) || argc < 3 || argv[2][0] == '\0') {
        return usage();
    }
    std::string_view command = argv[1];
    if (command == "post" && argc == 3) {
        return post(argv[2]);
    }
    if (command == "wait") {
        return waitCommand(argc, argv);
    }
    if (command == "watch" && argc == 3) {
        return watch(argv[2]);
    }
    return usage();
}
