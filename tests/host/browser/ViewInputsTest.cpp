#include "host/browser/ViewInputs.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"
#include "support/DrawnTestControl.h"

namespace {

using nlohmann::json;

CGRect inputFrame() {
    return CGRectMake(0, 0, 40, 20);
}

struct ControlCase {
    const char* what;
    std::function<UIViewPtr()> make;
    std::vector<std::pair<std::string, json>> events;
    bool taken;
    // What the view shows after the events.
    std::function<bool(UIView&)> shows;
};

TEST(ViewInputsTest, ControlsTakeTheEventsOfTheirKindAndRefuseTheRest) {
    auto slider = [] {
        auto made = std::make_shared<UISlider>(inputFrame());
        made->setMaximumValue(10);
        return made;
    };
    auto valueOf = [](UIView& view) { return dynamic_cast<UISlider&>(view).value(); };
    auto isOn = [](UIView& view) { return dynamic_cast<UISwitch&>(view).isOn(); };
    const ControlCase cases[] = {
        {"a switch set on",
         [] { return std::make_shared<UISwitch>(inputFrame()); },
         {{"valueChanged", {{"value", true}}}},
         true,
         isOn},
        {"a switch tapped",
         [] { return std::make_shared<UISwitch>(inputFrame()); },
         {{"touchUpInside", json::object()}},
         true,
         isOn},
        {"a switch given a number",
         [] { return std::make_shared<UISwitch>(inputFrame()); },
         {{"valueChanged", {{"value", 1}}}},
         false,
         [&](UIView& v) { return !isOn(v); }},
        {"a disabled switch",
         [] {
             auto made = std::make_shared<UISwitch>(inputFrame());
             made->setEnabled(false);
             return made;
         },
         {{"touchUpInside", json::object()}},
         false,
         [&](UIView& v) { return !isOn(v); }},
        {"a slider dragged and let go",
         slider,
         {{"touchDown", json::object()},
          {"valueChanged", {{"value", 4}}},
          {"touchUpInside", {{"value", 6}}}},
         true,
         [&](UIView& v) { return valueOf(v) == 6; }},
        {"a slider given text",
         slider,
         {{"valueChanged", {{"value", "4"}}}},
         false,
         [&](UIView& v) { return valueOf(v) == 0; }},
        {"a slider given a tap name it takes not",
         slider,
         {{"touchCancel", json::object()}},
         false,
         [&](UIView& v) { return valueOf(v) == 0; }},
        {"a button released without being touched",
         [] { return std::make_shared<UIButton>(inputFrame()); },
         {{"touchDragInside", json::object()}},
         false,
         [](UIView&) { return true; }},
    };
    for (const ControlCase& c : cases) {
        UIViewPtr view = c.make();
        const ViewInput* input = ViewInputs::of(*view);
        ASSERT_TRUE(input && input->control) << c.what;
        bool taken = true;
        for (const auto& [name, event] : c.events) {
            taken = taken && input->control(*view, name, event);
        }
        EXPECT_EQ(taken, c.taken) << c.what;
        EXPECT_TRUE(c.shows(*view)) << c.what;
    }
}

TEST(ViewInputsTest, ViewsThatShowOnlyTakeNoInputAndFieldsTakeOnlyTyping) {
    auto label = std::make_shared<UILabel>(inputFrame());
    EXPECT_EQ(ViewInputs::of(*label), nullptr);
    auto field = std::make_shared<UITextField>(inputFrame());
    const ViewInput* input = ViewInputs::of(*field);
    ASSERT_TRUE(input && input->text);
    EXPECT_FALSE(input->control);
    ASSERT_TRUE(input->text(*field, "12", true));
    EXPECT_EQ(field->text(), "12");
}

TEST(ViewInputsTest, AViewThatDrawsItselfTakesTouchesAsTheControlItIs) {
    auto drawn = std::make_shared<DrawnTestControl>(inputFrame());
    int ups = 0;
    drawn->addTarget([&](UIControl*, const UIEvent&) { ++ups; }, UIControlEventTouchUpInside);
    const ViewInput* input = ViewInputs::of(*drawn);
    ASSERT_TRUE(input && input->control);
    ASSERT_TRUE(input->control(*drawn, "touchDown", json{{"point", {5, 5}}}));
    ASSERT_TRUE(input->control(*drawn, "touchUpInside", json{{"point", {6, 5}}}));
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(input->control(*drawn, "valueChanged", json::object()));
    // A plain view that draws itself has no control to be.
    class DrawnPlain : public UIView {
      public:
        using UIView::UIView;
        bool drawsItself() const override { return true; }
        void drawRect(CGRect) override {}
    };
    auto plain = std::make_shared<DrawnPlain>(inputFrame());
    EXPECT_FALSE(ViewInputs::of(*plain)->control(*plain, "touchDown", json::object()));
}

}  // namespace
