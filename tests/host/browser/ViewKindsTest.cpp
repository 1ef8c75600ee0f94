#include "host/browser/ViewKinds.h"

#include <gtest/gtest.h>

#include "host/browser/ImageCache.h"
#include "host/browser/ViewIdentifiers.h"
#include "host/browser/ViewTreeWriter.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"

namespace {

using nlohmann::json;

class CaptionLabel : public UILabel {
  public:
    using UILabel::UILabel;
    std::string className() const override { return "CaptionLabel"; }
};

// A control that draws itself, as a colour picker does.
class DrawnControl : public UIControl {
  public:
    using UIControl::UIControl;
    std::string className() const override { return "DrawnControl"; }
    bool drawsItself() const override { return true; }
    void drawRect(CGRect) override {}
};

CGRect frame() {
    return CGRectMake(0, 0, 40, 20);
}

TEST(ViewKindsTest, EachViewHasTheKindOfItsMostSpecificToolkitClass) {
    struct Case {
        UIViewPtr view;
        std::string_view kind;
        bool touches;
        bool typing;
    };
    const Case cases[] = {
        {std::make_shared<UIView>(frame()), "UIView", false, false},
        {std::make_shared<UILabel>(frame()), "UILabel", false, false},
        {std::make_shared<CaptionLabel>(frame()), "UILabel", false, false},
        {std::make_shared<UIButton>(frame()), "UIButton", true, false},
        {std::make_shared<UISwitch>(frame()), "UISwitch", true, false},
        {std::make_shared<UISlider>(frame()), "UISlider", true, false},
        {std::make_shared<UITextField>(frame()), "UITextField", false, true},
        {std::make_shared<UITextView>(frame()), "UITextView", false, false},
        {std::make_shared<UIImageView>(frame()), "UIImageView", false, false},
        {std::make_shared<UIControl>(frame()), "UIControl", true, false},
        {std::make_shared<DrawnControl>(frame()), ViewKinds::kSelfDrawn, true, false},
    };
    for (const Case& c : cases) {
        const ViewKind& kind = ViewKinds::of(*c.view);
        EXPECT_EQ(kind.name, c.kind) << c.view->className();
        EXPECT_EQ(static_cast<bool>(kind.control), c.touches) << c.view->className();
        EXPECT_EQ(static_cast<bool>(kind.text), c.typing) << c.view->className();
    }
}

TEST(ViewKindsTest, AViewThatDrawsItselfTakesTouchesAsTheControlItIs) {
    auto drawn = std::make_shared<DrawnControl>(frame());
    EXPECT_EQ(ViewKinds::nativeOf(*drawn).name, "UIControl");
    int ups = 0;
    drawn->addTarget([&](UIControl*, const UIEvent&) { ++ups; }, UIControlEventTouchUpInside);
    const ViewKind& kind = ViewKinds::of(*drawn);
    ASSERT_TRUE(kind.control(*drawn, "touchDown", json{{"point", {5, 5}}}));
    ASSERT_TRUE(kind.control(*drawn, "touchUpInside", json{{"point", {6, 5}}}));
    EXPECT_EQ(ups, 1);
    EXPECT_FALSE(kind.control(*drawn, "valueChanged", json::object()));
}

TEST(ViewKindsTest, ASubclassIsWrittenWithTheKindThePageDraws) {
    ViewIdentifiers identifiers;
    ImageCache images;
    ViewTreeWriter writer(identifiers, images);
    auto caption = std::make_shared<CaptionLabel>(frame());
    caption->setText("Hi");
    json node = writer.view(*caption);
    EXPECT_EQ(node["type"], "CaptionLabel");
    EXPECT_EQ(node["kind"], "UILabel");
    EXPECT_EQ(node["text"], "Hi");
    auto plain = std::make_shared<UILabel>(frame());
    EXPECT_FALSE(writer.view(*plain).contains("kind"));
    auto drawn = std::make_shared<DrawnControl>(frame());
    EXPECT_FALSE(writer.view(*drawn).contains("kind"));
}

}  // namespace
