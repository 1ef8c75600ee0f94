#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIGeometry.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"

// Runs the pane without a screen: shows a page as the root of a navigation stack in a key
// window, as the Settings app does, and stands in for the user. Every read goes through the
// table callbacks a real host makes, and every action through the toolkit's user entry
// points, so tests and other hosts see what a user would.
class HeadlessHost {
  public:
    // What one visible row shows.
    struct Row {
        std::string text;
        std::string detail;
        std::string accessory;  // "", "disclosure", "checkmark", "switch on", "field ..."
        std::optional<std::string> background;
        std::string textColor;
        bool enabled = true;
        double height = 0;
    };
    struct Section {
        std::optional<std::string> header;
        std::optional<std::string> footer;
        std::vector<Row> rows;
    };

    // Shows the page on the current device root.
    explicit HeadlessHost(std::shared_ptr<UIViewController> page);
    ~HeadlessHost();
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;
    // A host showing a registered page class; null when no class has that name.
    static std::unique_ptr<HeadlessHost> startWithPageNamed(std::string_view className);

    UINavigationController& navigation() { return *navigation_; }
    UIViewController* topPage() const { return navigation_->topViewController(); }
    std::size_t depth() const { return navigation_->viewControllers().size(); }
    // The table of the top page: its view, or the first table inside it.
    UITableView* visibleTable() const;

    std::vector<Section> visibleSections();
    // The cell shown at a row of the top page's table, scrolled into view when it has none.
    UITableViewCellPtr cellAt(long section, long row);

    bool tapRow(long section, long row);
    bool dragRow(NSIndexPath from, NSIndexPath to);
    bool commitDelete(long section, long row);
    // A long press at a point of the top page's view, given to the first long-press
    // recogniser on the view under the point or one of its superviews.
    bool longPress(CGPoint point);
    // A touch on the control under a point of the top page's view: down at the first point,
    // through the middle ones, up at the last.
    bool touch(const std::vector<CGPoint>& points);

    // The alert shown over the pane, if any.
    UIAlertController* presentedAlert() const;
    bool typeIntoAlert(std::size_t field, std::string text);
    bool pressAlertAction(std::string_view title);

    // Pops the top page; false on the first page.
    bool goBack();
    // Runs the main-queue tasks due within the next SECONDS.
    void advanceClock(double seconds);

    // The visible page as text: a line for the page, then for each section its header, its
    // rows and its footer, for comparison with golden files.
    std::string dump();
    // ColorText::format, the form golden files show.
    static std::string describeColor(const UIColor& color);

  private:
    static Row describeRow(const LoadedTableRow& row);

    std::shared_ptr<UINavigationController> navigation_;
    std::shared_ptr<UIWindow> window_;
};
