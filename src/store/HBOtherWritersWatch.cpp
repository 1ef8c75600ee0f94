#include "store/HBOtherWritersWatch.h"

#include <filesystem>

#include "platform/dispatch/RunLoop.h"
#include "platform/foundation/FileWatch.h"

std::unique_ptr<HBOtherWritersWatch> HBOtherWritersWatch::start(
    const std::string& path, const std::optional<std::string>& notification,
    std::function<void()> check) {
    std::unique_ptr<HBOtherWritersWatch> watch(new HBOtherWritersWatch());
    auto checkSoon = [check = std::move(check)] { RunLoop::main().post(check); };
    std::filesystem::path file(path);
    // The settings folder is the system's: a watch never makes it.
    watch->_file = FileWatch::start(file.parent_path().string(), file.filename().string(),
                                    checkSoon, FileWatch::MissingFolder::WaitForIt);
    if (!watch->_file) {
        return nullptr;
    }
    if (notification) {
        watch->_notification = DarwinNotificationCenter::observe(*notification, checkSoon);
    }
    return watch;
}

HBOtherWritersWatch::~HBOtherWritersWatch() = default;
