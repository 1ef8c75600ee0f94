#include "store/HBOtherWritersWatch.h"

#include <filesystem>

#include "platform/dispatch/RunLoop.h"
#include "platform/foundation/FileVersion.h"
#include "platform/foundation/FileWatch.h"

std::unique_ptr<HBOtherWritersWatch> HBOtherWritersWatch::start(
    const std::string& path, const std::optional<std::string>& notification,
    std::function<void()> check) {
    std::unique_ptr<HBOtherWritersWatch> watch(new HBOtherWritersWatch(std::move(check)));
    auto checkSoon = [check = watch->_check] { RunLoop::main().post(check); };
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

HBOtherWritersWatch::HBOtherWritersWatch(std::function<void()> check) : _check(std::move(check)) {}

HBOtherWritersWatch::~HBOtherWritersWatch() = default;

// Right after a write the file's time cannot tell a change made within its granularity, so a
// check reads the bytes; one made once that window has passed confirms the version (or takes
// in what came meanwhile), and the next save needs the file's status alone.
void HBOtherWritersWatch::checkAfterOwnWrite() {
    RunLoop& loop = RunLoop::main();
    auto delay = static_cast<std::int64_t>(FileVersion::timeGranularity() * 1.5e9);
    loop.schedule(loop.now() + delay, _check);
}
