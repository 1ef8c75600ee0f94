#include "pages/HuebadgePSViewController.h"

UITableViewCellPtr HuebadgePSViewController::cellForRowAtIndexPath(UITableView* tableView,
                                                                   const NSIndexPath&) {
    UITableViewCellPtr cell =
        tableView ? tableView->dequeueReusableCellWithIdentifier("Cell") : nullptr;
    if (!cell) {
        cell = std::make_shared<UITableViewCell>(UITableViewCellStyleDefault, "Cell");
    }
    applyCellLook(*cell);
    return cell;
}

void HuebadgePSViewController::applyCellLook(UITableViewCell& cell) {
    cell.textLabel()->setAdjustsFontSizeToFitWidth(true);
}
