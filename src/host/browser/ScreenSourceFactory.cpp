// The program serves the sample screen until the pane's own source is connected; that
// connection replaces the one line below.
#include "host/browser/ScreenSourceFactory.h"

#include "host/browser/DemoScreenSource.h"

std::unique_ptr<ScreenSource> makeScreenSource(const ScreenOptions& options) {
    return std::make_unique<DemoScreenSource>(options);
}
