#pragma once

#include <ostream>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/PropertyList.h"

// Lets GoogleTest print property-list values in failure messages as their XML body.
inline void PrintTo(const PlistValue& value, std::ostream* out) {
    if (value.isAbsent()) {
        *out << "(absent)";
        return;
    }
    Result<std::string> xml = PropertyList::toXml(value);
    *out << (xml ? xml.value() : "(unwritable: " + xml.error() + ")");
}
