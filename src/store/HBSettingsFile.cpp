#include "store/HBSettingsFile.h"

#include <fmt/format.h>

#include <filesystem>
#include <system_error>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"

namespace {

constexpr const char* kUnreadableSuffix = ".unreadable";

// The first of NAME.unreadable, NAME.unreadable.1, ... that does not exist yet, so that an
// older kept copy is never overwritten.
std::string freeUnreadableName(const std::string& path) {
    std::string candidate = path + kUnreadableSuffix;
    std::error_code error;
    for (int n = 1; std::filesystem::exists(candidate, error); ++n) {
        candidate = fmt::format("{}{}.{}", path, kUnreadableSuffix, n);
    }
    return candidate;
}

}  // namespace

HBSettingsFile::Read HBSettingsFile::read(const std::string& path) {
    AtomicFile::removeAbandonedTemporaries(path);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    Result<FileVersion::Contents> contents = FileVersion::read(path);
    Result<PlistValue> table = contents ? PropertyList::parse(contents->bytes)
                                        : Result<PlistValue>::failure(contents.error());
    if (!table || !table->isDictionary()) {
        return {std::nullopt, std::nullopt, true};
    }
    return {std::move(table).value(), contents->version, true};
}

PlistValue HBSettingsFile::merged(PlistValue theirs, const PlistValue& ours,
                                  const std::set<std::string, std::less<>>& keys) {
    for (const std::string& key : keys) {
        if (PlistValue mine = ours[key]; mine.isAbsent()) {
            theirs.mutableDictionary().erase(key);
        } else {
            theirs.set(key, std::move(mine));
        }
    }
    return theirs;
}

Status HBSettingsFile::keepAside(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return Status::success();
    }
    Result<std::string> bytes = FileBytes::read(path);
    if (!bytes) {
        return Status::failure("the unreadable file could not be kept aside: " + bytes.error());
    }
    return AtomicFile::write(freeUnreadableName(path), bytes.value());
}

bool HBSettingsFile::changedElsewhere(const std::string& path) {
    if (!_seen) {
        return false;
    }
    if (!*_seen) {
        std::error_code error;
        return std::filesystem::exists(path, error);
    }
    return (*_seen)->changedAt(path);
}
