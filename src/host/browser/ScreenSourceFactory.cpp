// The program serves the pane's own pages, starting on its first page or the one asked for, with
// the real clock driving the main queue's delayed work.
#include "host/browser/ScreenSourceFactory.h"

#include <cstdlib>

#include "host/browser/PaneScreenSource.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/prefs/PSBundle.h"

std::unique_ptr<ScreenSource> makeScreenSource(const ScreenOptions& options,
                                               std::optional<std::string_view> pageClass) {
    const char* resources = std::getenv("HUEBADGE_RESOURCES_DIR");
    if (!resources || !*resources) {
        // A program run from the build folder finds the descriptions in the source tree.
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
    }
    RunLoop::main().useRealClock();
    return PaneScreenSource::start(options, pageClass.value_or(PaneScreenSource::kRootPageClass));
}
