#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The page's files (its HTML, style sheet and script modules), read from the web folder on every
// request so that an edited page shows on the next reload. $HUEBADGE_WEB_DIR overrides the folder
// of the build.
class WebAssets {
  public:
    struct Asset {
        std::string contentType;
        std::string bytes;
    };

    // The request paths of the page's files: "/", "/style.css", "/main.js" and the modules
    // it imports. Nothing else is served.
    static std::vector<std::string_view> paths();
    // The file for one of those paths.
    static std::optional<Asset> load(std::string_view path);
    static std::string directory();
};
