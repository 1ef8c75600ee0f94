// The geometry of a table shown under a navigation bar: its safe area and adjusted insets,
// where it starts, how far it scrolls, and footers as tall as their wrapped text.
#include "platform/ui/UIScrollView.h"

#include <gtest/gtest.h>

#include "platform/ui/RecordingTableSource.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "platform/ui/UIWindow.h"

namespace {

class ScrollGeometryTest : public ::testing::Test {
  protected:
    // The table as the page view of the root of a navigation controller in the key window.
    void show(std::size_t rows, UITableViewStyle style = UITableViewStyleGrouped) {
        source.sections = {{std::nullopt, std::vector<std::string>(rows, "row"), std::nullopt}};
        CGSize screen = UIScreen::mainScreen().bounds().size;
        table = std::make_shared<UITableView>(CGRectMake(0, 0, screen.width, screen.height), style);
        table->setDataSource(&source);
        table->setDelegate(&source);
        auto page = std::make_shared<UIViewController>();
        page->setView(table);
        window = std::make_shared<UIWindow>(UIScreen::mainScreen().bounds());
        window->setRootViewController(std::make_shared<UINavigationController>(page));
        window->makeKeyAndVisible();
    }

    RecordingTableSource source;
    UITableViewPtr table;
    UIWindowPtr window;
};

TEST_F(ScrollGeometryTest, ATableUnderTheBarsIsInsetByThemAndStartsBelowThem) {
    struct Case {
        UIScrollViewContentInsetAdjustmentBehavior behavior;
        UIEdgeInsets own;
        UIEdgeInsets adjusted;
    };
    const Case cases[] = {
        {UIScrollViewContentInsetAdjustmentAutomatic, {}, {88, 0, 34, 0}},
        {UIScrollViewContentInsetAdjustmentAutomatic, {10, 0, 5, 0}, {98, 0, 39, 0}},
        {UIScrollViewContentInsetAdjustmentNever, {10, 0, 5, 0}, {10, 0, 5, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behavior);
        show(3);
        table->setContentInsetAdjustmentBehavior(c.behavior);
        table->setContentInset(c.own);
        EXPECT_EQ(table->safeAreaInsets(), (UIEdgeInsets{88, 0, 34, 0}));
        EXPECT_EQ(table->adjustedContentInset(), c.adjusted);
        EXPECT_EQ(table->contentOffset(), CGPointMake(0, -c.adjusted.top));
    }
}

TEST_F(ScrollGeometryTest, ADragReachesTheLastRowAboveTheHomeIndicatorAndNoFurther) {
    struct Case {
        std::size_t rows;
        double asked;
        double reached;
    };
    // 30 rows of 44 points between 18-point gaps: the end is 1356 + 34 - 844 = 546.
    const Case cases[] = {
        {30, 10000, 546},
        {30, -500, -88},
        {30, 200, 200},
        {3, 300, -88},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows to " << c.asked);
        show(c.rows);
        table->userScrolledTo(CGPointMake(0, c.asked));
        EXPECT_EQ(table->contentOffset().y, c.reached);
    }
}

TEST_F(ScrollGeometryTest, TitledFootersGrowToTheirWrappedText) {
    const std::string line = "Short footer";
    std::string paragraph;
    for (int i = 0; i < 12; ++i) {
        paragraph += "Uses the settings from the account options ";
    }
    for (auto style : {UITableViewStyleGrouped, UITableViewStyleInsetGrouped}) {
        show(1, style);
        source.sections = {{std::nullopt, {"a"}, line}, {std::nullopt, {"b"}, paragraph}};
        table->reloadData();
        const auto& sections = table->snapshot();
        EXPECT_EQ(sections[0].footerHeight, 28);
        UILabel& label =
            *dynamic_cast<UITableViewHeaderFooterView&>(*sections[1].footerView).textLabel();
        double inset = style == UITableViewStyleInsetGrouped ? 64 : 32;
        CGSize text = label.sizeThatFits(CGSizeMake(table->bounds().size.width - inset, 0));
        EXPECT_GT(text.height, 3 * label.font().lineHeight());
        EXPECT_EQ(sections[1].footerHeight, text.height + 12);
    }
}

}  // namespace
