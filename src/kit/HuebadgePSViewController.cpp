#include "kit/HuebadgePSViewController.h"

#include "platform/ui/UIScreen.h"
#include "store/HBPreferences.h"

HuebadgePSViewController::HuebadgePSViewController(UITableViewStyle style) {
    CGSize screen = UIScreen::mainScreen().bounds().size;
    _tableView =
        std::make_shared<UITableView>(CGRectMake(0, 0, screen.width, screen.height), style);
    _tableView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                    UIViewAutoresizingFlexibleHeight);
    _tableView->setDataSource(this);
    _tableView->setDelegate(this);
    _liveReload = HBLiveReload::attach(
        *this, [this] { refreshFromStore(); }, [this] { refreshAfterStep(); });
}

void HuebadgePSViewController::loadView() {
    setView(_tableView);
}

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
