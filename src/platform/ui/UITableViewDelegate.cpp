#include "platform/ui/UITableViewDelegate.h"

#include "platform/ui/UITableView.h"

double UITableViewDelegate::heightForRowAtIndexPath(UITableView* tableView, const NSIndexPath&) {
    return tableView ? tableView->rowHeight() : 44;
}
