#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UITableViewRows.h"

class UITableView;
class UITableViewDelegate;
class UITableViewHeaderFooterView;

// Asks a table's data source and delegate what one section is made of: its header and footer
// (the delegate's views, else views showing the titles) with their heights, and the height of
// every row. The section views it makes become the table's subviews.
class UITableViewSectionLoader {
  public:
    explicit UITableViewSectionLoader(UITableView& table) : table_(table) {}

    LoadedTableSection load(long section, long rows);

  private:
    double rowHeightAt(const NSIndexPath& indexPath);
    void loadHeader(LoadedTableSection& loaded, long section);
    void loadFooter(LoadedTableSection& loaded, long section);
    // The delegate's own view, else one showing the title; none without either.
    static UIViewPtr viewShowing(UIViewPtr own, const std::optional<std::string>& title,
                                 bool wraps);
    void place(const UIViewPtr& view, double height,
               const std::function<void(UITableViewDelegate&)>& tell);
    double resolvedHeaderHeight(double asked, bool hasContent, double preset) const;
    double titledFooterHeight(const UITableViewHeaderFooterView& footer) const;

    UITableView& table_;
};
