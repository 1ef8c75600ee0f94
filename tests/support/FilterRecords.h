#pragma once

#include <string>

#include "model/HBFilterKind.h"
#include "platform/foundation/PlistValue.h"

// A new record of the kind, titled by its first field.
inline PlistValue recordTitled(const HBFilterKind& kind, const std::string& title) {
    PlistValue record = kind.newRecord();
    record.set(kind.fields.front().key, title);
    return record;
}
