#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/browser/ScreenSource.h"

// How the program was asked to show the pane.
struct ScreenOptions {
    std::string appearance = "light";
    double width = 390;
    double height = 844;
};

// The source the program serves, starting on the registered page class given or else the
// pane's first page; null when it cannot show that page. One definition in the build decides
// which source that is.
std::unique_ptr<ScreenSource> makeScreenSource(
    const ScreenOptions& options, std::optional<std::string_view> pageClass = std::nullopt);
