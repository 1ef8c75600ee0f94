#include "host/browser/WebAssets.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

struct Entry {
    std::string_view path;
    std::string_view file;
    std::string_view contentType;
};

// A fixed list rather than a folder lookup, so no request path can reach another file.
constexpr std::array<Entry, 3> kEntries = {{
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/app.js", "app.js", "text/javascript; charset=utf-8"},
    {"/style.css", "style.css", "text/css; charset=utf-8"},
}};

}  // namespace

std::string WebAssets::directory() {
    const char* overridden = std::getenv("HUEBADGE_WEB_DIR");
    return overridden && *overridden ? overridden : HUEBADGE_WEB_DIR;
}

std::optional<WebAssets::Asset> WebAssets::load(std::string_view path) {
    for (const Entry& entry : kEntries) {
        if (entry.path != path) {
            continue;
        }
        std::ifstream in(directory() + "/" + std::string(entry.file), std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        return Asset{std::string(entry.contentType),
                     {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
    }
    return std::nullopt;
}
