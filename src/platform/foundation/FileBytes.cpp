#include "platform/foundation/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

Result<std::string> failure(const std::string& path, int error) {
    return Result<std::string>::failure(path + ": " + std::strerror(error));
}

}  // namespace

Result<std::string> FileBytes::read(const std::string& hostPath) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(hostPath.c_str(), "rb"), &std::fclose);
    if (!file) {
        return failure(hostPath, errno);
    }
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        return failure(hostPath, errno);
    }
    return bytes;
}
