#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "platform/foundation/Result.h"
#include "platform/ui/UIGeometry.h"

// Checks that an event from the browser has a known type and the fields that type needs,
// each of the right kind ("tapRow" needs non-negative integers "section" and "row"...).
// The source then checks the rest (that the row exists, that an alert is shown).
class EventShape {
  public:
    struct ImportedFile {
        std::string name;
        std::string bytes;
    };

    static Status check(const nlohmann::json& event);
    // The file an import body carries ({"fileName": TEXT, "data": BASE64}), or why it has none.
    static Result<ImportedFile> importedFile(const nlohmann::json& upload);
    // A point field ([x, y]) of an event that passed the check.
    static CGPoint pointOf(const nlohmann::json& value);
};
