#include "platform/ui/UIViewController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"

namespace {

using Calls = std::vector<std::string>;

// A page that logs its life into a shared list under its own name.
class LoggingPage : public UIViewController {
  public:
    LoggingPage(std::string name, Calls& log) : name_(std::move(name)), log_(log) {
        setTitle(name_);
    }
    void viewDidLoad() override { log_.push_back(name_ + " didLoad"); }
    void viewWillAppear(bool) override { log_.push_back(name_ + " willAppear"); }
    void viewDidAppear(bool) override { log_.push_back(name_ + " didAppear"); }
    void viewWillDisappear(bool) override { log_.push_back(name_ + " willDisappear"); }
    void viewDidDisappear(bool) override { log_.push_back(name_ + " didDisappear"); }

  private:
    std::string name_;
    Calls& log_;
};

class ControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UIViewController::setWarningHandler(
            [this](const std::string& message) { warnings.push_back(message); });
    }
    void TearDown() override {
        UIApplication::sharedApplication().setKeyWindow(nullptr);
        UIViewController::setWarningHandler(nullptr);
    }

    std::shared_ptr<LoggingPage> page(const std::string& name) {
        return std::make_shared<LoggingPage>(name, log);
    }
    // A window showing a navigation controller with a root page, as a host starts the pane.
    UINavigationControllerPtr showNavigation() {
        auto navigation = std::make_shared<UINavigationController>(page("root"));
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        return navigation;
    }

    Calls log;
    Calls warnings;
    UIWindowPtr window = std::make_shared<UIWindow>(UIScreen::mainScreen().bounds());
};

TEST_F(ControllerTest, TheViewLoadsOnceOnFirstUseWithTheScreensBounds) {
    auto controller = page("p");
    EXPECT_FALSE(controller->isViewLoaded());
    UIViewPtr view = controller->view();
    EXPECT_EQ(controller->view(), view);
    EXPECT_EQ(log, (Calls{"p didLoad"}));
    EXPECT_EQ(view->frame(), UIScreen::mainScreen().bounds());
}

TEST_F(ControllerTest, PushAndPopTellBothPagesInThePlatformsOrder) {
    auto navigation = showNavigation();
    EXPECT_EQ(log, (Calls{"root didLoad", "root willAppear", "root didAppear"}));
    EXPECT_EQ(UIApplication::sharedApplication().keyWindow(), window);
    log.clear();
    auto second = page("second");
    navigation->pushViewController(second, true);
    EXPECT_EQ(log, (Calls{"second didLoad", "root willDisappear", "second willAppear",
                          "root didDisappear", "second didAppear"}));
    EXPECT_EQ(second->navigationController(), navigation.get());
    EXPECT_EQ(navigation->navigationBar().backItemTitle(), "root");
    EXPECT_EQ(second->view()->superview(), navigation->view().get());
    log.clear();
    EXPECT_EQ(navigation->popViewControllerAnimated(true), second);
    EXPECT_EQ(log, (Calls{"second willDisappear", "root willAppear", "second didDisappear",
                          "root didAppear"}));
    EXPECT_EQ(second->navigationController(), nullptr);
    EXPECT_EQ(navigation->popViewControllerAnimated(true), nullptr);  // the root stays
    EXPECT_FALSE(navigation->navigationBar().backItemTitle());
}

TEST_F(ControllerTest, AStackNotOnScreenTellsNobody) {
    auto navigation = std::make_shared<UINavigationController>(page("root"));
    navigation->pushViewController(page("second"), false);
    EXPECT_EQ(log, (Calls{"second didLoad"}));
    EXPECT_EQ(navigation->viewControllers().size(), 2u);
    EXPECT_EQ(navigation->topViewController()->title(), "second");
}

TEST_F(ControllerTest, PopToRootTellsOnlyTheShownPage) {
    auto navigation = showNavigation();
    navigation->pushViewController(page("a"), false);
    navigation->pushViewController(page("b"), false);
    log.clear();
    EXPECT_EQ(navigation->popToRootViewControllerAnimated(false).size(), 2u);
    EXPECT_EQ(log,
              (Calls{"b willDisappear", "root willAppear", "b didDisappear", "root didAppear"}));
}

TEST_F(ControllerTest, OnlyOneControllerIsPresentedAtATime) {
    auto root = page("root");
    bool completed = false;
    EXPECT_TRUE(root->presentViewController(page("first"), false, [&] { completed = true; }));
    EXPECT_TRUE(completed);
    EXPECT_FALSE(root->presentViewController(page("second"), false));
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(root->presentedViewController()->title(), "first");
    root->presentedViewController()->dismissViewControllerAnimated(false);  // dismisses itself
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_TRUE(root->presentViewController(page("second"), false));
    EXPECT_EQ(log, (Calls{"first didLoad", "first willAppear", "first didAppear",
                          "first willDisappear", "first didDisappear", "second didLoad",
                          "second willAppear", "second didAppear"}));
}

class AlertTest : public ControllerTest {
  protected:
    // The profile-saving dialog shape: a field prefilled by its block, then Save and Cancel.
    UIAlertControllerPtr nameAlert() {
        auto alert = UIAlertController::alertControllerWithTitle(
            "Save", "Please enter a Profile Name", UIAlertControllerStyleAlert);
        alert->addTextFieldWithConfigurationHandler([](UITextField* field) {
            field->setPlaceholder("Profile Name");
            field->setText("old");
        });
        std::weak_ptr<UIAlertController> weak = alert;
        alert->addAction(UIAlertAction::actionWithTitle(
            "Save", UIAlertActionStyleDefault, [this, weak](UIAlertAction*) {
                auto shown = weak.lock();
                typed.push_back(shown ? shown->textFields()[0]->text() : "<gone>");
                stillPresented = shown && shown->presentingViewController();
            }));
        alert->addAction(
            UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleDefault, nullptr));
        return alert;
    }

    Calls typed;
    bool stillPresented = true;
    bool presentedFromHandler = false;
};

TEST_F(AlertTest, TheHandlerRunsAfterDismissalAndSeesTheTypedText) {
    auto root = page("root");
    {
        auto alert = nameAlert();
        EXPECT_EQ(alert->textFields()[0]->placeholder(), "Profile Name");
        EXPECT_EQ(alert->textFields()[0]->text(), "old");
        ASSERT_TRUE(root->presentViewController(alert, false));
    }
    auto* shown = dynamic_cast<UIAlertController*>(root->presentedViewController().get());
    ASSERT_NE(shown, nullptr);
    shown->textFields()[0]->userTyped("Work");
    EXPECT_TRUE(shown->userTappedAction(0));  // only the presenter held the alert
    EXPECT_EQ(typed, (Calls{"Work"}));
    EXPECT_FALSE(stillPresented);
    EXPECT_EQ(root->presentedViewController(), nullptr);
}

TEST_F(AlertTest, ANewAlertCanBeShownFromAHandlerButNotOverAShownOne) {
    auto root = page("root");
    auto alert = nameAlert();
    alert->addAction(UIAlertAction::actionWithTitle(
        "Again", UIAlertActionStyleDefault, [this, presenter = root.get()](UIAlertAction*) {
            auto error = UIAlertController::alertControllerWithTitle(
                "Error, You cannot save a profile with no name", std::nullopt,
                UIAlertControllerStyleAlert);
            presentedFromHandler = presenter->presentViewController(error, false);
        }));
    root->presentViewController(alert, false);
    EXPECT_FALSE(root->presentViewController(nameAlert(), false));
    EXPECT_TRUE(alert->userTappedActionTitled("Again"));
    EXPECT_TRUE(presentedFromHandler);
    auto* error = dynamic_cast<UIAlertController*>(root->presentedViewController().get());
    ASSERT_NE(error, nullptr);
    EXPECT_FALSE(error->message());
    EXPECT_FALSE(alert->userTappedAction(9));
}

TEST_F(AlertTest, ActionSheetsTakeNoTextFields) {
    auto sheet = UIAlertController::alertControllerWithTitle(std::nullopt, std::nullopt,
                                                             UIAlertControllerStyleActionSheet);
    bool configured = false;
    sheet->addTextFieldWithConfigurationHandler([&](UITextField*) { configured = true; });
    EXPECT_TRUE(sheet->textFields().empty());
    EXPECT_FALSE(configured);
}

}  // namespace
