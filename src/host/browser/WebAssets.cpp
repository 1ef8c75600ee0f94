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
constexpr std::string_view kScript = "text/javascript; charset=utf-8";
constexpr std::array<Entry, 17> kEntries = {{
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/style.css", "style.css", "text/css; charset=utf-8"},
    {"/main.js", "main.js", kScript},
    {"/dom.js", "dom.js", kScript},
    {"/notices.js", "notices.js", kScript},
    {"/transport.js", "transport.js", kScript},
    {"/focus.js", "focus.js", kScript},
    {"/grip.js", "grip.js", kScript},
    {"/views.js", "views.js", kScript},
    {"/names.js", "names.js", kScript},
    {"/controls.js", "controls.js", kScript},
    {"/tables.js", "tables.js", kScript},
    {"/alerts.js", "alerts.js", kScript},
    {"/sounds.js", "sounds.js", kScript},
    {"/imports.js", "imports.js", kScript},
    {"/history.js", "history.js", kScript},
    {"/screen.js", "screen.js", kScript},
}};

}  // namespace

std::vector<std::string_view> WebAssets::paths() {
    std::vector<std::string_view> paths;
    for (const Entry& entry : kEntries) {
        paths.push_back(entry.path);
    }
    return paths;
}

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
