#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/UITableView.h"

// A data source and delegate over sections of captions that logs every call the table makes,
// so tests can check which calls come, in which order, with which index paths.
class RecordingTableSource : public UITableViewDataSource, public UITableViewDelegate {
  public:
    struct Section {
        std::optional<std::string> header;
        std::vector<std::string> rows;
        std::optional<std::string> footer = std::nullopt;
    };

    std::vector<Section> sections;
    std::vector<std::string> log;
    // Rows given as "[section, row]".
    std::set<std::string> fixedRows;
    std::set<std::string> refusedRows;
    std::optional<NSIndexPath> redirectSelectionTo;
    UITableViewCellEditingStyle editingStyle = UITableViewCellEditingStyleDelete;
    bool takesMoves = true;
    bool takesSwipeDeletes = false;
    // Applies moves to `sections` and reloads, as pages that reread their data do.
    bool reloadOnMove = false;
    std::function<UIViewPtr(long)> headerView;

    // The calls whose text starts with one of the prefixes, in order.
    std::vector<std::string> calls(std::initializer_list<std::string> prefixes) const;

    long numberOfSectionsInTableView(UITableView*) override;
    long numberOfRowsInSection(UITableView*, long section) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    std::optional<std::string> titleForHeaderInSection(UITableView*, long section) override;
    std::optional<std::string> titleForFooterInSection(UITableView*, long section) override {
        return sections.at(std::size_t(section)).footer;
    }
    bool canEditRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) override;
    bool canMoveRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) override;
    void commitEditingStyle(UITableView*, UITableViewCellEditingStyle style,
                            const NSIndexPath& indexPath) override;
    void moveRowAtIndexPath(UITableView* tableView, const NSIndexPath& from,
                            const NSIndexPath& to) override;
    bool respondsToMoveRowAtIndexPath() const override { return takesMoves; }
    bool respondsToCommitEditingStyle() const override { return takesSwipeDeletes; }

    double heightForRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) override;
    double heightForHeaderInSection(UITableView*, long section) override;
    UIViewPtr viewForHeaderInSection(UITableView*, long section) override;
    void willDisplayHeaderView(UITableView*, UIView*, long section) override;
    void willDisplayCell(UITableView*, UITableViewCell*, const NSIndexPath& indexPath) override;
    std::optional<NSIndexPath> willSelectRowAtIndexPath(UITableView*,
                                                        const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) override;
    std::optional<NSIndexPath> willDeselectRowAtIndexPath(UITableView*,
                                                          const NSIndexPath& indexPath) override;
    void didDeselectRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) override;
    UITableViewCellEditingStyle editingStyleForRowAtIndexPath(UITableView*,
                                                              const NSIndexPath&) override;

  private:
    void record(const std::string& call, const NSIndexPath& indexPath);
};
