#pragma once

#include <optional>
#include <string>
#include <string_view>

// The page's three files, read from the web folder on every request so that an edited page
// shows on the next reload. $HUEBADGE_WEB_DIR overrides the folder of the build.
class WebAssets {
  public:
    struct Asset {
        std::string contentType;
        std::string bytes;
    };

    // The file for a request path ("/", "/app.js", "/style.css"); nothing else is served.
    static std::optional<Asset> load(std::string_view path);
    static std::string directory();
};
