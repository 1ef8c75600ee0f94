#include <gtest/gtest.h>

#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIView.h"

TEST(UIViewAutoresizing, FlexiblePartsShareTheChangeInProportionToTheirLengths) {
    auto parent = std::make_shared<UIView>(CGRectMake(0, 0, 300, 200));
    auto stretch = std::make_shared<UIView>(CGRectMake(10, 10, 100, 50));
    stretch->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                 UIViewAutoresizingFlexibleTopMargin);
    auto centred = std::make_shared<UIView>(CGRectMake(100, 20, 100, 30));
    centred->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                 UIViewAutoresizingFlexibleRightMargin);
    auto thirds = std::make_shared<UIView>(CGRectMake(0, 0, 90, 10));
    thirds->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                UIViewAutoresizingFlexibleWidth |
                                UIViewAutoresizingFlexibleRightMargin);
    auto fixed = std::make_shared<UIView>(CGRectMake(5, 5, 20, 20));
    for (auto& view : {stretch, centred, thirds, fixed}) {
        parent->addSubview(view);
    }

    parent->setFrame(CGRectMake(0, 0, 360, 260));
    EXPECT_EQ(stretch->frame(), CGRectMake(10, 70, 160, 50));
    EXPECT_EQ(centred->frame(), CGRectMake(130, 20, 100, 30));
    // Margins 0 and 210 around a width of 90: the width takes 90/300 of the 60 points.
    EXPECT_EQ(thirds->frame(), CGRectMake(0, 0, 108, 10));
    EXPECT_EQ(fixed->frame(), CGRectMake(5, 5, 20, 20));

    // All three flexible: the view scales with its superview.
    auto scaled = std::make_shared<UIView>(CGRectMake(10, 10, 160, 20));
    scaled->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                UIViewAutoresizingFlexibleWidth |
                                UIViewAutoresizingFlexibleRightMargin);
    parent->addSubview(scaled);
    parent->setFrame(CGRectMake(0, 0, 720, 260));
    EXPECT_EQ(scaled->frame(), CGRectMake(20, 10, 320, 20));

    // Shrinking below the subview's width never gives a negative width.
    parent->setFrame(CGRectMake(0, 0, 0, 260));
    EXPECT_EQ(stretch->frame().size.width, 0);
}

TEST(UIViewAutoresizing, NestedViewsFollowTheirOwnSuperview) {
    auto root = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
    auto middle = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
    middle->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    auto leaf = std::make_shared<UIView>(CGRectMake(0, 0, 50, 10));
    leaf->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    root->addSubview(middle);
    middle->addSubview(leaf);
    root->setFrame(CGRectMake(0, 0, 200, 100));
    EXPECT_EQ(leaf->frame().size.width, 150);
}

namespace {

struct Scene {
    std::shared_ptr<UIView> root = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<UIView> panel = std::make_shared<UIView>(CGRectMake(20, 40, 200, 200));
    UIButtonPtr button = UIButton::buttonWithType(UIButtonTypeSystem);
    std::shared_ptr<UILabel> label = std::make_shared<UILabel>(CGRectMake(10, 10, 100, 30));

    Scene() {
        button->setFrame(CGRectMake(10, 10, 100, 30));
        root->addSubview(panel);
        panel->addSubview(button);
        panel->addSubview(label);  // on top of the button
    }
};

}  // namespace

TEST(UIViewHitTest, FindsTheDeepestViewThatTakesTouches) {
    Scene scene;
    // The label lies over the button but takes no touches, and the button's own title
    // label does not either: the tap lands on the button.
    EXPECT_EQ(scene.root->hitTest(CGPointMake(35, 55)), scene.button.get());
    EXPECT_EQ(scene.root->hitTest(CGPointMake(200, 200)), scene.panel.get());
    EXPECT_EQ(scene.root->hitTest(CGPointMake(300, 400)), scene.root.get());
    // Right and bottom edges are outside.
    EXPECT_EQ(scene.root->hitTest(CGPointMake(20 + 10 + 100, 55)), scene.panel.get());

    scene.button->setHidden(true);
    EXPECT_EQ(scene.root->hitTest(CGPointMake(35, 55)), scene.panel.get());
    scene.panel->setUserInteractionEnabled(false);
    EXPECT_EQ(scene.root->hitTest(CGPointMake(35, 55)), scene.root.get());
    EXPECT_EQ(scene.root->hitTest(CGPointMake(-1, 0)), nullptr);
}

TEST(UIViewHitTest, ConvertsPointsThroughFramesAndBoundsOrigins) {
    Scene scene;
    scene.panel->setBounds(CGRectMake(0, 5, 200, 200));  // scrolled down by 5
    EXPECT_EQ(scene.button->convertPointToView(CGPointMake(0, 0), scene.root.get()),
              CGPointMake(30, 45));
    EXPECT_EQ(scene.root->convertPointToView(CGPointMake(30, 45), scene.button.get()),
              CGPointMake(0, 0));
    EXPECT_EQ(scene.root->hitTest(CGPointMake(31, 46)), scene.button.get());
    EXPECT_EQ(scene.root->hitTest(CGPointMake(31, 44)), scene.panel.get());
}

TEST(UIGestureRecognizerOwnership, TheViewOwnsItsRecognisersAndOutlivesNone) {
    auto recognizer = std::make_shared<UILongPressGestureRecognizer>();
    {
        auto view = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
        view->addGestureRecognizer(recognizer);
        EXPECT_EQ(recognizer->view(), view.get());
        auto other = std::make_shared<UIView>(CGRectMake(0, 0, 10, 10));
        other->addGestureRecognizer(recognizer);
        EXPECT_TRUE(view->gestureRecognizers().empty());
        EXPECT_EQ(recognizer->view(), other.get());
    }
    // The view went away: the recogniser no longer points at it and cannot begin.
    EXPECT_EQ(recognizer->view(), nullptr);
    EXPECT_FALSE(recognizer->userLongPressed(CGPointMake(1, 1)));
}

TEST(UIViewCenter, MovingTheCentreMovesTheFrameOnly) {
    Scene scene;
    scene.label->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    scene.panel->setBounds(CGRectMake(0, 5, 200, 200));
    scene.panel->setCenter(CGPointMake(100.25, 60));
    EXPECT_EQ(scene.panel->frame(), CGRectMake(0.25, -40, 200, 200));
    EXPECT_EQ(scene.panel->center(), CGPointMake(100.25, 60));
    // Same size: subviews neither stretch, and the scrolled bounds origin stays.
    EXPECT_EQ(scene.label->frame(), CGRectMake(10, 10, 100, 30));
    EXPECT_EQ(scene.panel->bounds(), CGRectMake(0, 5, 200, 200));
    // Odd sizes put the origin on half points.
    scene.button->setFrame(CGRectMake(0, 0, 7, 3));
    scene.button->setCenter(CGPointMake(10, 10));
    EXPECT_EQ(scene.button->frame(), CGRectMake(6.5, 8.5, 7, 3));
}
