#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

// What `huebadge-defaults import DOMAIN FILE` writes: a property list (XML or binary) whose
// root is a dictionary becomes the XML text of the domain's file. Refused input leaves the
// domain alone, so nothing here touches a file.
class DomainImport {
  public:
    // The domain file's new contents, or why the bytes cannot be imported; SOURCE names the
    // input in the message.
    static Result<std::string> contentsFor(std::string_view bytes, const std::string& source);
    // The whole input: the named file, or standard input for "-".
    static Result<std::string> readInput(const std::string& source);
};
