#include "platform/foundation/PropertyList.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "platform/foundation/BinaryPlistReader.h"
#include "platform/foundation/XmlPlistReader.h"
#include "platform/foundation/XmlPlistWriter.h"

Result<PlistValue> PropertyList::parse(std::string_view bytes) {
    if (bytes.empty()) {
        return Result<PlistValue>::failure("The property list is empty.");
    }
    if (bytes.starts_with("bplist")) {
        if (!bytes.starts_with("bplist00")) {
            return Result<PlistValue>::failure("Unsupported binary property list version.");
        }
        return BinaryPlistReader::parse(bytes);
    }
    return XmlPlistReader::parse(bytes);
}

namespace {

// The whole file, or null. Plain stdio: a stream would throw on a folder.
std::optional<std::string> readAll(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

Result<PlistValue> PropertyList::readFile(const std::string& path) {
    std::optional<std::string> bytes = readAll(path);
    if (!bytes) {
        return Result<PlistValue>::failure("Cannot read " + path + ".");
    }
    Result<PlistValue> value = parse(*bytes);
    if (!value) {
        return Result<PlistValue>::failure(path + ": " + value.error());
    }
    return value;
}

Result<std::string> PropertyList::toXml(const PlistValue& value) {
    return XmlPlistWriter::write(value);
}
