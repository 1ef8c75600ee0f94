#include "platform/foundation/NSFileManager.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/system/DeviceRoot.h"

namespace fs = std::filesystem;

namespace {

std::string describe(const char* action, std::string_view path, const std::error_code& error) {
    return std::string(action) + " \"" + std::string(path) + "\": " + error.message();
}

std::vector<fs::directory_entry> sortedEntries(const fs::path& folder, std::error_code& error) {
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename() < b.path().filename();
    });
    return entries;
}

void enumerateInto(const fs::path& folder, const std::string& prefix,
                   std::vector<std::string>& paths) {
    std::error_code error;
    for (const fs::directory_entry& entry : sortedEntries(folder, error)) {
        std::string relative = prefix + entry.path().filename().string();
        paths.push_back(relative);
        std::error_code statusError;
        if (entry.is_directory(statusError) && !entry.is_symlink(statusError)) {
            enumerateInto(entry.path(), relative + "/", paths);
        }
    }
}

}  // namespace

NSFileManager& NSFileManager::defaultManager() {
    static NSFileManager manager;
    return manager;
}

bool NSFileManager::fileExistsAtPath(std::string_view path) const {
    return fileExistsAtPath(path, nullptr);
}

bool NSFileManager::fileExistsAtPath(std::string_view path, bool* isDirectory) const {
    std::error_code error;
    fs::file_status status = fs::status(DeviceRoot::resolve(path), error);
    bool exists = !error && fs::exists(status);
    if (isDirectory) {
        *isDirectory = exists && fs::is_directory(status);
    }
    return exists;
}

std::vector<std::string> NSFileManager::contentsOfDirectoryAtPath(std::string_view path,
                                                                  std::string* error) const {
    std::error_code failure;
    std::vector<fs::directory_entry> entries = sortedEntries(DeviceRoot::resolve(path), failure);
    if (failure) {
        if (error) {
            *error = describe("Cannot list", path, failure);
        }
        return {};
    }
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : entries) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> NSFileManager::enumeratorAtPath(std::string_view path) const {
    std::vector<std::string> paths;
    enumerateInto(DeviceRoot::resolve(path), "", paths);
    return paths;
}

Status NSFileManager::removeItemAtPath(std::string_view path) const {
    std::string resolved = DeviceRoot::resolve(path);
    if (resolved == DeviceRoot::resolve("/")) {
        return Status::failure("Cannot remove \"" + std::string(path) +
                               "\": it is the device root");
    }
    std::error_code error;
    if (!fs::exists(fs::symlink_status(resolved, error))) {
        return Status::failure(describe(
            "Cannot remove", path, std::make_error_code(std::errc::no_such_file_or_directory)));
    }
    fs::remove_all(resolved, error);
    return error ? Status::failure(describe("Cannot remove", path, error)) : Status::success();
}

Status NSFileManager::copyItemAtPath(std::string_view from, std::string_view to) const {
    std::string source = DeviceRoot::resolve(from);
    std::string destination = DeviceRoot::resolve(to);
    std::error_code error;
    if (fs::exists(fs::symlink_status(destination, error))) {
        return Status::failure(
            describe("Cannot copy to", to, std::make_error_code(std::errc::file_exists)));
    }
    fs::copy(source, destination, fs::copy_options::recursive | fs::copy_options::copy_symlinks,
             error);
    if (error) {
        // The destination did not exist before: take away whatever part of it was made.
        std::error_code ignored;
        fs::remove_all(destination, ignored);
        return Status::failure(describe("Cannot copy", from, error));
    }
    return Status::success();
}
