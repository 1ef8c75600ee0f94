#include "host/browser/ViewKinds.h"

#include <gtest/gtest.h>

#include "host/browser/ImageCache.h"
#include "host/browser/ViewIdentifiers.h"
#include "host/browser/ViewTreeWriter.h"
#include "platform/ui/UIControl.h"
#include "platform/ui/UILabel.h"
#include "support/DrawnTestControl.h"

namespace {

using nlohmann::json;

class CaptionLabel : public UILabel {
  public:
    using UILabel::UILabel;
    std::string className() const override { return "CaptionLabel"; }
};

CGRect frame() {
    return CGRectMake(0, 0, 40, 20);
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
    auto drawn = std::make_shared<DrawnTestControl>(frame());
    EXPECT_FALSE(writer.view(*drawn).contains("kind"));
}

}  // namespace
