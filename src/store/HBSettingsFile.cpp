#include "store/HBSettingsFile.h"

#include <filesystem>
#include <system_error>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/PropertyList.h"

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

void HBSettingsFile::wrote(const std::string& path, std::span<const std::string_view> pieces) {
    _seen.emplace(FileVersion::written(path, pieces));
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
