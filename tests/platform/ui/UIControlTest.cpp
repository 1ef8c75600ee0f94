#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/ui/UIButton.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"

namespace {

// Records every event a control sends, with the touch location in the control and in the
// control's superview.
struct Recorder {
    struct Entry {
        unsigned event;
        std::vector<CGPoint> inControl;
        std::vector<CGPoint> inSuperview;
        bool operator==(const Entry&) const = default;
    };
    std::vector<Entry> entries;

    void listen(UIControl& control, unsigned events) {
        for (unsigned bit = 1; bit != 0 && bit <= UIControlEventEditingDidEndOnExit; bit <<= 1) {
            if (!(events & bit)) {
                continue;
            }
            control.addTarget(
                [this, bit](UIControl* sender, const UIEvent& event) {
                    Entry entry{bit, {}, {}};
                    for (const auto& touch : event.touchesForView(sender)) {
                        entry.inControl.push_back(touch->locationInView(sender));
                        entry.inSuperview.push_back(touch->locationInView(sender->superview()));
                    }
                    entries.push_back(entry);
                },
                bit);
        }
    }
    std::vector<unsigned> events() const {
        std::vector<unsigned> result;
        for (const auto& entry : entries) {
            result.push_back(entry.event);
        }
        return result;
    }
};

struct Stage {
    std::shared_ptr<UIView> root = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    UIButtonPtr button = UIButton::buttonWithType(UIButtonTypeSystem);
    Recorder recorder;
    Stage() {
        button->setFrame(CGRectMake(100, 200, 50, 40));
        root->addSubview(button);
        recorder.listen(*button, UIControlEventAllEvents);
    }
};

}  // namespace

TEST(UIControlTouches, ADragOutAndBackSendsTheEventsInOrderWithTheirLocations) {
    Stage stage;
    ASSERT_TRUE(stage.button->userTouchDown(CGPointMake(5, 6)));
    EXPECT_TRUE(stage.button->isHighlighted());
    stage.button->userTouchMoved(CGPointMake(60, 6));   // beyond the bounds, within tolerance
    stage.button->userTouchMoved(CGPointMake(200, 6));  // beyond the tolerance
    stage.button->userTouchMoved(CGPointMake(10, 10));
    stage.button->userTouchUp(CGPointMake(-100, 10));

    using E = UIControlEvents;
    std::vector<unsigned> expected{
        E::UIControlEventTouchDown,      E::UIControlEventTouchDragInside,
        E::UIControlEventTouchDragExit,  E::UIControlEventTouchDragOutside,
        E::UIControlEventTouchDragEnter, E::UIControlEventTouchDragInside,
        E::UIControlEventTouchUpOutside};
    EXPECT_EQ(stage.recorder.events(), expected);
    const auto& first = stage.recorder.entries.front();
    ASSERT_EQ(first.inControl.size(), 1u);
    EXPECT_EQ(first.inControl[0], CGPointMake(5, 6));
    EXPECT_EQ(first.inSuperview[0], CGPointMake(105, 206));
    EXPECT_EQ(stage.recorder.entries.back().inSuperview[0], CGPointMake(0, 210));
    EXPECT_FALSE(stage.button->isHighlighted());
    EXPECT_FALSE(stage.button->isTracking());
}

TEST(UIControlTouches, DisabledControlsIgnoreTheUserButNotTheCode) {
    Stage stage;
    stage.button->setEnabled(false);
    EXPECT_FALSE(stage.button->userTapped());
    stage.button->userTouchUp(CGPointMake(1, 1));
    EXPECT_TRUE(stage.recorder.entries.empty());
    stage.button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(stage.recorder.events(), std::vector<unsigned>{UIControlEventTouchUpInside});
    EXPECT_TRUE(stage.recorder.entries[0].inControl.empty());
}

TEST(UIControlTouches, AnActionMayDropTheLastReferenceToItsControl) {
    // ASan reports a use after free if a control dies in the middle of its events.
    auto holder = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
    auto slider = std::make_shared<UISlider>(CGRectMake(0, 0, 50, 50));
    slider->setContinuous(false);
    holder->addSubview(slider);
    UISlider* raw = slider.get();
    slider.reset();
    int released = 0;
    raw->addTarget([](UIControl* sender, const UIEvent&) { sender->removeFromSuperview(); },
                   UIControlEventValueChanged);
    raw->addTarget([&released](UIControl*, const UIEvent&) { ++released; },
                   UIControlEventTouchUpInside);
    raw->userChangedValue(0.5f);
    raw->userEndedTracking();
    EXPECT_TRUE(holder->subviews().empty());
    EXPECT_EQ(released, 1);

    auto field = std::make_shared<UITextField>();
    holder->addSubview(field);
    UITextField* rawField = field.get();
    field.reset();
    rawField->addTarget([](UIControl* sender, const UIEvent&) { sender->removeFromSuperview(); },
                        UIControlEventEditingDidBegin);
    EXPECT_TRUE(rawField->userTyped("x"));
    EXPECT_TRUE(holder->subviews().empty());
}

TEST(UIButtonTitles, TheTitleLabelShowsTheTitleOfTheCurrentState) {
    UIButtonPtr button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setTitle("Save", UIControlStateNormal);
    button->setTitle("Saving", UIControlStateHighlighted);
    button->setTitleColor(UIColor::blackColor(), UIControlStateNormal);
    EXPECT_EQ(button->titleLabel()->text(), "Save");
    button->setHighlighted(true);
    EXPECT_EQ(button->titleLabel()->text(), "Saving");
    EXPECT_EQ(button->titleLabel()->textColor(), UIColor::blackColor());  // falls back to normal
    button->setHighlighted(false);
    EXPECT_EQ(button->currentTitle(), "Save");
    button->setFrame(CGRectMake(0, 0, 80, 20));
    EXPECT_EQ(button->titleLabel()->frame(), CGRectMake(0, 0, 80, 20));
}

TEST(UISliderValues, ValuesStayWithinTheBoundsAndCodeSendsNothing) {
    auto slider = std::make_shared<UISlider>(CGRectMake(0, 0, 200, 40));
    Recorder recorder;
    recorder.listen(*slider, UIControlEventAllEvents);
    slider->setMinimumValue(10);
    slider->setMaximumValue(255);
    EXPECT_EQ(slider->value(), 10);  // dragged up by the new minimum
    slider->setValue(300);
    EXPECT_EQ(slider->value(), 255);
    slider->setValue(-4);
    EXPECT_EQ(slider->value(), 10);
    slider->setValue(std::nanf(""));
    EXPECT_EQ(slider->value(), 10);
    slider->setMaximumValue(5);  // below the minimum: the minimum follows
    EXPECT_EQ(slider->minimumValue(), 5);
    EXPECT_EQ(slider->value(), 5);
    EXPECT_TRUE(recorder.entries.empty());
}

TEST(UISliderValues, AUserDragReportsEachChangeThenTheRelease) {
    auto slider = std::make_shared<UISlider>();
    slider->setMaximumValue(100);
    Recorder recorder;
    recorder.listen(*slider, UIControlEventValueChanged | UIControlEventTouchUpInside |
                                 UIControlEventTouchUpOutside);
    slider->userChangedValue(20);
    slider->userChangedValue(20);  // no change, no event
    slider->userChangedValue(150);
    slider->userEndedTracking(TouchRelease::Outside);
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(recorder.events(),
              (std::vector<unsigned>{UIControlEventValueChanged, UIControlEventValueChanged,
                                     UIControlEventTouchUpOutside}));

    // Not continuous: one ValueChanged when the finger is lifted, before the release.
    recorder.entries.clear();
    slider->setContinuous(false);
    slider->userChangedValue(30);
    slider->userChangedValue(40);
    EXPECT_TRUE(recorder.entries.empty());
    slider->userEndedTracking();
    EXPECT_EQ(recorder.events(),
              (std::vector<unsigned>{UIControlEventValueChanged, UIControlEventTouchUpInside}));
    // A release without a drag sends nothing.
    slider->userEndedTracking();
    EXPECT_EQ(recorder.entries.size(), 2u);
}

TEST(UISwitchToggle, OnlyTheUserChangingTheStateSendsValueChanged) {
    auto toggle = std::make_shared<UISwitch>(CGRectMake(5, 5, 200, 200));
    EXPECT_EQ(toggle->frame(), CGRectMake(5, 5, UISwitch::width, UISwitch::height));
    Recorder recorder;
    recorder.listen(*toggle, UIControlEventValueChanged);
    toggle->setOn(true);
    toggle->userToggled(true);  // already on
    EXPECT_TRUE(recorder.entries.empty());
    toggle->userToggled();
    EXPECT_FALSE(toggle->isOn());
    toggle->setEnabled(false);
    toggle->userToggled(true);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(recorder.entries.size(), 1u);
}

namespace {

struct FieldLog : UITextFieldDelegate {
    std::vector<std::string> calls;
    bool allowReturn = true;
    bool textFieldShouldBeginEditing(UITextField*) override { return log("shouldBegin"); }
    void textFieldDidBeginEditing(UITextField*) override { log("didBegin"); }
    void textFieldDidEndEditing(UITextField* field) override { log("didEnd:" + field->text()); }
    bool textFieldShouldReturn(UITextField* field) override {
        log("shouldReturn");
        if (allowReturn) {
            field->resignFirstResponder();
        }
        return allowReturn;
    }
    bool log(std::string call) {
        calls.push_back(std::move(call));
        return true;
    }
};

}  // namespace

TEST(UITextFieldEditing, TheDelegateAndTheEventsFollowTheKeyboardInOrder) {
    auto field = std::make_shared<UITextField>(CGRectMake(0, 0, 100, 30));
    FieldLog log;
    field->setDelegate(&log);
    Recorder recorder;
    recorder.listen(*field, UIControlEventAllEditingEvents);
    field->setText("set by code");
    EXPECT_TRUE(recorder.entries.empty());

    EXPECT_TRUE(field->userTyped("20"));
    field->userTyped("200");
    field->userPressedReturn();
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"shouldBegin", "didBegin", "shouldReturn", "didEnd:200"}));
    EXPECT_EQ(recorder.events(),
              (std::vector<unsigned>{UIControlEventEditingDidBegin, UIControlEventEditingChanged,
                                     UIControlEventEditingChanged, UIControlEventEditingDidEnd,
                                     UIControlEventEditingDidEndOnExit}));
    EXPECT_FALSE(field->isEditing());

    // Leaving the field ends editing once; a disabled field cannot be typed into.
    log.calls.clear();
    field->userTyped("7");
    field->userEndedEditing();
    field->userEndedEditing();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"shouldBegin", "didBegin", "didEnd:7"}));
    field->setEnabled(false);
    EXPECT_FALSE(field->userTyped("8"));
    EXPECT_EQ(field->text(), "7");
}

TEST(UITextFieldEditing, TheRightViewShowsByItsModeAtTheRightEnd) {
    auto field = std::make_shared<UITextField>(CGRectMake(0, 0, 60, 30));
    auto unit = std::make_shared<UIView>(CGRectMake(0, 0, 12, 10));
    field->setRightView(unit);
    EXPECT_EQ(unit->frame(), CGRectMake(48, 10, 12, 10));
    EXPECT_TRUE(unit->isHidden());  // the mode starts as never
    field->setRightViewMode(UITextFieldViewModeUnlessEditing);
    EXPECT_FALSE(unit->isHidden());
    field->userTyped("1");
    EXPECT_TRUE(unit->isHidden());
    field->setFrame(CGRectMake(0, 0, 100, 40));
    EXPECT_EQ(unit->frame(), CGRectMake(88, 15, 12, 10));
    field->setRightView(nullptr);
    EXPECT_EQ(unit->superview(), nullptr);
}

namespace {

struct Veto : UIGestureRecognizerDelegate {
    bool allow = true;
    bool gestureRecognizerShouldBegin(UIGestureRecognizer*) override { return allow; }
};

}  // namespace

TEST(UILongPress, DeliversBeganThenEndedAtThePressedPoint) {
    auto root = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    auto table = std::make_shared<UIView>(CGRectMake(0, 64, 320, 400));
    root->addSubview(table);
    std::vector<std::pair<long, CGPoint>> seen;
    auto press = std::make_shared<UILongPressGestureRecognizer>(
        [&seen, view = table.get()](UIGestureRecognizer* recognizer) {
            seen.emplace_back(recognizer->state(), recognizer->locationInView(view));
        });
    press->setMinimumPressDuration(1.0);
    Veto veto;
    press->setDelegate(&veto);
    table->addGestureRecognizer(press);

    EXPECT_TRUE(press->userLongPressed(CGPointMake(30, 40)));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, UIGestureRecognizerStateBegan);
    EXPECT_EQ(seen[1].first, UIGestureRecognizerStateEnded);
    EXPECT_EQ(seen[0].second, CGPointMake(30, 40));
    EXPECT_EQ(press->locationInView(root.get()), CGPointMake(30, 104));
    EXPECT_EQ(press->state(), UIGestureRecognizerStatePossible);

    seen.clear();
    EXPECT_FALSE(press->userLongPressed(CGPointMake(30, 40), 0.5));  // too short
    EXPECT_FALSE(press->userLongPressed(CGPointMake(30, 500)));      // outside the view
    veto.allow = false;
    EXPECT_FALSE(press->userLongPressed(CGPointMake(30, 40)));
    EXPECT_TRUE(seen.empty());
}
