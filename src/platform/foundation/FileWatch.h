#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

// Watches one name in a folder: calls back, on the watch's own thread, whenever a file of that
// name is written and closed, moved in or removed. An inotify watch read by that thread; when
// the folder itself is removed or moved away, the watch follows the new folder at the same
// place and calls back, since the file may have changed meanwhile. A folder that is missing is
// made again, or waited for (looked for twice a second) when it belongs to someone else.
// Destroying the watch stops and joins the thread, after which the callback is never called
// again; it must not be destroyed from inside its own callback.
class FileWatch {
  public:
    using Callback = std::function<void()>;
    enum class MissingFolder { Make, WaitForIt };

    // Null when the folder cannot be made or watched (a folder waited for need not exist yet).
    static std::unique_ptr<FileWatch> start(std::string folder, std::string fileName,
                                            Callback callback,
                                            MissingFolder missing = MissingFolder::Make);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

  private:
    FileWatch(std::string folder, std::string fileName, Callback callback, MissingFolder missing);
    bool begin();
    bool watchFolder();
    void run();
    // Reads the pending events; true when one of them concerns the watched name.
    bool drainEvents();

    std::string folder_;
    std::string fileName_;
    Callback callback_;
    MissingFolder missing_;
    int inotify_ = -1;
    int watch_ = -1;
    int stop_ = -1;
    std::thread thread_;
};
