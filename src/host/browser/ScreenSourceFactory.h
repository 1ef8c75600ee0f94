#pragma once

#include <memory>
#include <string>

#include "host/browser/ScreenSource.h"

// How the program was asked to show the pane.
struct ScreenOptions {
    std::string appearance = "light";
    double width = 390;
    double height = 844;
};

// The source the program serves; null when it cannot show its first page. One definition in
// the build decides which source that is.
std::unique_ptr<ScreenSource> makeScreenSource(const ScreenOptions& options);
