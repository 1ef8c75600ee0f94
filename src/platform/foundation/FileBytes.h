#pragma once

#include <string>

#include "platform/foundation/Result.h"

// Reads a whole file without throwing: a missing file, a folder or a failed read is a
// failure naming the path and the system's error text. Streams are not used for this, as
// a stream opened on a folder throws on the first read.
class FileBytes {
  public:
    static Result<std::string> read(const std::string& hostPath);
};
