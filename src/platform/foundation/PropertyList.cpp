#include "platform/foundation/PropertyList.h"

#include "platform/foundation/BinaryPlistReader.h"
#include "platform/foundation/FileBytes.h"
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

Result<PlistValue> PropertyList::readFile(const std::string& path) {
    Result<std::string> bytes = FileBytes::read(path);
    if (!bytes) {
        return Result<PlistValue>::failure("Cannot read " + bytes.error() + ".");
    }
    Result<PlistValue> value = parse(bytes.value());
    if (!value) {
        return Result<PlistValue>::failure(path + ": " + value.error());
    }
    return value;
}

Result<std::string> PropertyList::toXml(const PlistValue& value) {
    return XmlPlistWriter::write(value);
}
