#include "host/HeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "kit/HuebadgePSViewController.h"
#include "platform/dispatch/Dispatch.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"

namespace {

// A page that draws its own always-editing table of names: rows move and delete, a long
// press asks for a new name, and each appearance schedules a delayed recount.
class NamesPage : public HuebadgePSViewController {
  public:
    std::vector<std::string> names = {"a", "b", "c"};
    int delayedReloads = 0;

    void loadView() override {
        table_ =
            std::make_shared<UITableView>(UIScreen::mainScreen().bounds(), UITableViewStylePlain);
        table_->setDataSource(this);
        table_->setDelegate(this);
        table_->setEditing(true);
        auto press =
            std::make_shared<UILongPressGestureRecognizer>([this](UIGestureRecognizer* recognizer) {
                if (recognizer->state() == UIGestureRecognizerStateBegan) {
                    askForName();
                }
            });
        table_->addGestureRecognizer(press);
        setView(table_);
    }
    void viewWillAppear(bool animated) override {
        HuebadgePSViewController::viewWillAppear(animated);
        std::weak_ptr<UIViewController> weak = weak_from_this();
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC / 4),
                       dispatch_get_main_queue(), [weak] {
                           if (auto page = std::static_pointer_cast<NamesPage>(weak.lock())) {
                               ++page->delayedReloads;
                           }
                       });
    }
    long numberOfRowsInSection(UITableView*, long) override {
        return static_cast<long>(names.size());
    }
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override {
        UITableViewCellPtr cell =
            HuebadgePSViewController::cellForRowAtIndexPath(tableView, indexPath);
        cell->textLabel()->setText(names.at(static_cast<std::size_t>(indexPath.row())));
        return cell;
    }
    bool respondsToMoveRowAtIndexPath() const override { return true; }
    void moveRowAtIndexPath(UITableView*, const NSIndexPath& from, const NSIndexPath& to) override {
        std::string moved = names[static_cast<std::size_t>(from.row())];
        names.erase(names.begin() + from.row());
        names.insert(names.begin() + to.row(), moved);
    }
    void commitEditingStyle(UITableView* tableView, UITableViewCellEditingStyle,
                            const NSIndexPath& indexPath) override {
        names.erase(names.begin() + indexPath.row());
        tableView->reloadData();
    }

  private:
    void askForName() {
        auto alert = UIAlertController::alertControllerWithTitle("Name", std::nullopt,
                                                                 UIAlertControllerStyleAlert);
        alert->addTextFieldWithConfigurationHandler([](UITextField*) {});
        std::weak_ptr<UIAlertController> weakAlert = alert;
        alert->addAction(UIAlertAction::actionWithTitle(
            "Save", UIAlertActionStyleDefault, [this, weakAlert](UIAlertAction*) {
                if (auto shown = weakAlert.lock()) {
                    names.push_back(shown->textFields()[0]->text());
                    table_->reloadData();
                }
            }));
        presentViewController(alert, false);
    }

    std::shared_ptr<UITableView> table_;
};

std::vector<std::string> texts(HeadlessHost& host) {
    std::vector<std::string> result;
    std::vector<HeadlessHost::Section> sections = host.visibleSections();
    for (const auto& row : sections.at(0).rows) {
        result.push_back(row.text);
    }
    return result;
}

TEST(HeadlessHost, DrivesMovesDeletesPressesAndAlertsThroughTheTable) {
    auto page = std::make_shared<NamesPage>();
    HeadlessHost host(page);
    EXPECT_EQ(texts(host), (std::vector<std::string>{"a", "b", "c"}));

    ASSERT_TRUE(
        host.dragRow(NSIndexPath::indexPathForRow(0, 0), NSIndexPath::indexPathForRow(2, 0)));
    EXPECT_EQ(texts(host), (std::vector<std::string>{"b", "c", "a"}));
    ASSERT_TRUE(host.commitDelete(0, 1));
    EXPECT_EQ(texts(host), (std::vector<std::string>{"b", "a"}));

    EXPECT_EQ(host.presentedAlert(), nullptr);
    ASSERT_TRUE(host.longPress(CGPointMake(10, 300)));
    ASSERT_NE(host.presentedAlert(), nullptr);
    EXPECT_EQ(host.presentedAlert()->alertTitle(), "Name");
    ASSERT_TRUE(host.typeIntoAlert(0, "z"));
    EXPECT_FALSE(host.typeIntoAlert(1, "no such field"));
    ASSERT_TRUE(host.pressAlertAction("Save"));
    EXPECT_EQ(host.presentedAlert(), nullptr);
    EXPECT_EQ(texts(host), (std::vector<std::string>{"b", "a", "z"}));
    EXPECT_FALSE(host.goBack());
}

TEST(HeadlessHost, DelayedWorkRunsOnlyWhenTheClockAdvances) {
    RunLoop::main().useManualClock();
    RunLoop::main().cancelAll();
    auto page = std::make_shared<NamesPage>();
    HeadlessHost host(page);
    EXPECT_EQ(page->delayedReloads, 0);
    host.advanceClock(0.2);
    EXPECT_EQ(page->delayedReloads, 0);
    host.advanceClock(0.1);
    EXPECT_EQ(page->delayedReloads, 1);
}

TEST(HeadlessHost, StartsRegisteredPagesOnlyAndDescribesColours) {
    EXPECT_EQ(HeadlessHost::startWithPageNamed("NoSuchController"), nullptr);
    auto host = HeadlessHost::startWithPageNamed("PSListItemsController");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->depth(), 1u);
    EXPECT_EQ(host->dump(), "page PSListItemsController \"\"\nsection 0\n");
    EXPECT_EQ(HeadlessHost::describeColor(UIColor::colorWithRed(1, 0.5, 0, 0.5)), "#FF800080");
}

}  // namespace
