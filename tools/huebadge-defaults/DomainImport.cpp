#include "DomainImport.h"

#include <fmt/format.h>

#include <iostream>
#include <sstream>

#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyList.h"

Result<std::string> DomainImport::contentsFor(std::string_view bytes, const std::string& source) {
    using R = Result<std::string>;
    Result<PlistValue> table = PropertyList::parse(bytes);
    if (!table) {
        return R::failure(fmt::format("Cannot import {}: {}", source, table.error()));
    }
    if (!table->isDictionary()) {
        return R::failure(fmt::format("Cannot import {}: its root is not a dictionary", source));
    }
    Result<std::string> xml = PropertyList::toXml(table.value());
    if (!xml) {
        return R::failure(fmt::format("Cannot import {}: {}", source, xml.error()));
    }
    return xml;
}

Result<std::string> DomainImport::readInput(const std::string& source) {
    if (source != "-") {
        return FileBytes::read(source);
    }
    std::ostringstream bytes;
    bytes << std::cin.rdbuf();
    return bytes.str();
}
