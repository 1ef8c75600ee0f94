#include "color/HBColorPickerView.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "color/HBColorPickerView_B.h"
#include "color/HBColorPickerView_H.h"
#include "color/HBColorPickerView_S.h"
#include "platform/ui/ColorText.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"

namespace {

using Component = HBColorComponent;

// What each kind of picker is expected to do differently.
struct Kind {
    const char* name;
    std::function<HBColorPickerViewPtr(CGRect, UIColor, HBColorBlock, HBColorBlock)> make;
    Component slider;
    bool sliderRises;
    Component horizontal;
    Component vertical;
    // Label texts for the colour (0.8, 0.4, 0.2): hue 20°, saturation 75%, brightness 80%.
    std::string topLeft, topRight, centre, centreStatic;
    // The centre label at the slider's left and right ends.
    std::string sliderLeftEnd, sliderRightEnd;
};

template <typename Picker>
auto maker() {
    return [](CGRect frame, UIColor color, HBColorBlock changed, HBColorBlock saved) {
        return std::make_shared<Picker>(frame, color, std::move(changed), std::move(saved));
    };
}

const Kind kKinds[] = {
    {"H", maker<HBColorPickerView_H>(), Component::Hue, true, Component::Saturation,
     Component::Brightness, "Brightness: 80%", "75% :Saturation", "20°", "Hue:", "0°", "360°"},
    {"S", maker<HBColorPickerView_S>(), Component::Saturation, false, Component::Hue,
     Component::Brightness, "Brightness: 80%", "20° : Hue", "75%", "Saturation:", "100%", "0%"},
    {"B", maker<HBColorPickerView_B>(), Component::Brightness, false, Component::Hue,
     Component::Saturation, "Saturation: 75%", "20° : Hue", "80%", "Brightness:", "100%", "0%"},
};

const UIColor kStart = UIColor::colorWithRed(0.8, 0.4, 0.2, 1);
constexpr CGRect kFrame{{0, 0}, {390, 380}};

double valueOf(const HBColorPickerView& picker, Component component) {
    switch (component) {
        case Component::Hue:
            return picker.currentHue();
        case Component::Saturation:
            return picker.currentSaturation();
        case Component::Brightness:
            break;
    }
    return picker.currentBrightness();
}

UILabel& labelOf(const HBColorPickerView& picker, Component component) {
    switch (component) {
        case Component::Hue:
            return *picker.currentHueLabel();
        case Component::Saturation:
            return *picker.currentSaturationLabel();
        case Component::Brightness:
            break;
    }
    return *picker.currentBrightnessLabel();
}

class ColorPicker : public testing::TestWithParam<Kind> {
  protected:
    void SetUp() override {
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        picker = make(kStart);
    }
    void TearDown() override {
        UIApplication::sharedApplication().setKeyWindow(nullptr);
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    }

    HBColorPickerViewPtr make(const UIColor& color) {
        return GetParam().make(
            kFrame, color,
            [this](const UIColor& c) {
                log.push_back({"changed", c});
            },
            [this](const UIColor& c) {
                log.push_back({"saved", c});
            });
    }

    // The field and the slider as the picker laid them out.
    CGRect field() const { return picker->fieldView()->frame(); }
    CGRect slider() const { return picker->sliderView()->frame(); }

    double value(Component component) const { return valueOf(*picker, component); }
    double sliderPosition() const {
        double v = value(GetParam().slider);
        return GetParam().sliderRises ? v : 1 - v;
    }

    // A finger on a touch catcher: down at the first point, moved through the others, up at
    // the last; points in the picker's coordinates.
    void drag(UIButton& eater, const std::vector<CGPoint>& points) {
        auto local = [&](CGPoint p) { return eater.convertPointFromView(p, picker.get()); };
        ASSERT_TRUE(eater.userTouchDown(local(points.front())));
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            eater.userTouchMoved(local(points[i]));
        }
        eater.userTouchUp(local(points.back()));
    }

    UIAlertController* alert() const {
        return dynamic_cast<UIAlertController*>(root->presentedViewController().get());
    }
    void answerAlert(const std::string& text, const std::string& action) {
        ASSERT_NE(alert(), nullptr);
        alert()->textFields().front()->userTyped(text);
        ASSERT_TRUE(alert()->userTappedActionTitled(action));
    }

    struct Call {
        std::string what;
        UIColor color;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> log;
    UIWindowPtr window = std::make_shared<UIWindow>(UIScreen::mainScreen().bounds());
    UIViewControllerPtr root = std::make_shared<UIViewController>();
    HBColorPickerViewPtr picker;
};

TEST_P(ColorPicker, OpensOnItsColourWithoutCallingBackAndLabelsEachComponent) {
    const Kind& kind = GetParam();
    EXPECT_EQ(picker->aColor(), kStart);
    EXPECT_TRUE(log.empty());
    EXPECT_NEAR(picker->currentHue(), 20.0 / 360, 1e-12);
    EXPECT_NEAR(picker->currentSaturation(), 0.75, 1e-12);
    EXPECT_NEAR(picker->currentBrightness(), 0.8, 1e-12);
    EXPECT_EQ(labelOf(*picker, kind.vertical).text(), kind.topLeft);
    EXPECT_EQ(labelOf(*picker, kind.horizontal).text(), kind.topRight);
    EXPECT_EQ(labelOf(*picker, kind.slider).text(), kind.centre);
    EXPECT_EQ(labelOf(*picker, kind.vertical).frame().origin, CGPointMake(10, 10));
    EXPECT_EQ(labelOf(*picker, kind.horizontal).textAlignment(), NSTextAlignmentRight);
    EXPECT_EQ(picker->crossHairs()->backgroundColor(), kStart);
    CGRect f = field();
    EXPECT_EQ(picker->crossHairs()->center(),
              CGPointMake(value(kind.horizontal) * f.size.width + f.origin.x,
                          (1 - value(kind.vertical)) * f.size.height + f.origin.y));
    EXPECT_NEAR(picker->sliderSelector()->center().x,
                sliderPosition() * slider().size.width + slider().origin.x, 1e-9);
}

TEST_P(ColorPicker, StacksItsViewsWithTheTouchCatchersOnTop) {
    const auto& views = picker->subviews();
    ASSERT_EQ(views.size(), 13u);
    EXPECT_EQ(views[0], picker->topLeftButton());
    EXPECT_EQ(views[2], picker->centreButton());
    EXPECT_EQ(views[5], picker->fieldView());
    EXPECT_EQ(views[6], picker->crossHairs());
    EXPECT_EQ(dynamic_cast<UILabel&>(*views[7]).text(), GetParam().centreStatic);
    EXPECT_EQ(views[9], picker->sliderView());
    EXPECT_EQ(views[10], picker->sliderSelector());
    EXPECT_EQ(views[11], picker->fieldTouchEater());
    EXPECT_EQ(views[12], picker->sliderTouchEater());
    // Both span the picker less a margin, the slider below the field and its labels.
    EXPECT_EQ(field().origin.x, 10);
    EXPECT_EQ(field().size.width, kFrame.size.width - 20);
    EXPECT_EQ(slider().size, CGSizeMake(kFrame.size.width - 20, 40));
    EXPECT_GT(slider().origin.y, field().origin.y + field().size.height + picker->labelHeight());
    EXPECT_EQ(picker->fieldTouchEater()->frame(), field());
    EXPECT_EQ(picker->sliderTouchEater()->frame(), slider());
    EXPECT_EQ(picker->sliderSelector()->frame().size, CGSizeMake(16, 48));
}

// The field takes all of a size change, the slider keeps its height and moves with the
// bottom edge.
TEST_P(ColorPicker, LayoutFollowsANewSize) {
    CGRect fieldBefore = field();
    CGRect sliderBefore = slider();
    picker->setFrame(CGRectMake(0, 0, 500, 460));
    picker->layoutIfNeeded();
    EXPECT_EQ(field().origin, fieldBefore.origin);
    EXPECT_EQ(field().size, CGSizeMake(fieldBefore.size.width + 110, fieldBefore.size.height + 80));
    EXPECT_EQ(slider(), CGRectMake(sliderBefore.origin.x, sliderBefore.origin.y + 80,
                                   sliderBefore.size.width + 110, sliderBefore.size.height));
    EXPECT_EQ(picker->fieldTouchEater()->frame(), field());
    EXPECT_EQ(picker->sliderTouchEater()->frame(), slider());
    EXPECT_EQ(picker->sliderSelector()->center().y, slider().origin.y + 20);
    CGRect f = field();
    EXPECT_NEAR(picker->crossHairs()->center().y,
                (1 - value(GetParam().vertical)) * f.size.height + f.origin.y, 1e-9);
    // The labels keep their distance from the bottom edge.
    EXPECT_EQ(labelOf(*picker, GetParam().slider).frame().origin.y, 460 - 70);
}

// Where a point lands: which values it sets, by the edge and band rules.
struct Landing {
    const char* where;
    std::function<CGPoint(CGRect field, CGRect slider, double L)> point;
    // Expected field values (horizontal, vertical) and slider position; negative = unchanged.
    double horizontal, vertical, sliderPosition;
};

const Landing kLandings[] = {
    {"field's top left corner", [](CGRect f, CGRect, double) { return f.origin; }, 0, 1, -1},
    {"field's right edge",
     [](CGRect f, CGRect, double) {
         return CGPointMake(f.origin.x + f.size.width, f.origin.y + f.size.height / 2);
     },
     1, 0.5, -1},
    {"field's bottom edge",
     [](CGRect f, CGRect, double) {
         return CGPointMake(f.origin.x + f.size.width / 4, f.origin.y + f.size.height);
     },
     0.25, 0, -1},
    {"right of the field, between the label rows",
     [](CGRect f, CGRect, double) {
         return CGPointMake(f.origin.x + f.size.width + 40, f.origin.y + f.size.height / 4);
     },
     1, 0.75, -1},
    {"left of the field, just under the top labels",
     [](CGRect, CGRect, double L) { return CGPointMake(2, 10 + L + 1); }, 0, 1, -1},
    {"slider's left edge", [](CGRect, CGRect s, double) { return s.origin; }, -1, -1, 0},
    {"level with the slider, left of it",
     [](CGRect, CGRect s, double) { return CGPointMake(2, s.origin.y + s.size.height); }, -1, -1,
     0},
    {"level with the slider, right of it",
     [](CGRect, CGRect s, double) { return CGPointMake(388, s.origin.y); }, -1, -1, 1},
    {"slider's middle",
     [](CGRect, CGRect s, double) {
         return CGPointMake(s.origin.x + s.size.width / 2, s.origin.y + 20);
     },
     -1, -1, 0.5},
    {"centre label row",
     [](CGRect f, CGRect s, double) { return CGPointMake(f.origin.x + 30, s.origin.y - 3); }, -1,
     -1, -1},
    {"below the slider",
     [](CGRect, CGRect s, double) {
         return CGPointMake(s.origin.x + 30, s.origin.y + s.size.height + 1);
     },
     -1, -1, -1},
    {"top label row", [](CGRect, CGRect, double L) { return CGPointMake(40, 10 + L / 2); }, -1, -1,
     -1},
};

TEST_P(ColorPicker, EachPointSetsWhatItsPlaceSaysAndClampsExactly) {
    const Kind& kind = GetParam();
    for (const Landing& landing : kLandings) {
        picker = make(kStart);
        double before[] = {value(kind.horizontal), value(kind.vertical), sliderPosition()};
        picker->dispatchTouchEvent(landing.point(field(), slider(), picker->labelHeight()), true);
        double expected[] = {landing.horizontal, landing.vertical, landing.sliderPosition};
        double after[] = {value(kind.horizontal), value(kind.vertical), sliderPosition()};
        for (int i = 0; i < 3; ++i) {
            double want = expected[i] < 0 ? before[i] : expected[i];
            EXPECT_DOUBLE_EQ(after[i], want) << landing.where << ", value " << i;
        }
        bool ignored = landing.horizontal < 0 && landing.sliderPosition < 0;
        EXPECT_EQ(picker->aColor() == kStart, ignored) << landing.where;
    }
}

TEST_P(ColorPicker, TheSlidersEndsShowTheirExtremes) {
    CGRect s = slider();
    picker->dispatchTouchEvent(CGPointMake(s.origin.x - 20, s.origin.y + 10), true);
    EXPECT_EQ(labelOf(*picker, GetParam().slider).text(), GetParam().sliderLeftEnd);
    picker->dispatchTouchEvent(CGPointMake(s.origin.x + s.size.width + 20, s.origin.y + 10), true);
    EXPECT_EQ(labelOf(*picker, GetParam().slider).text(), GetParam().sliderRightEnd);
}

TEST_P(ColorPicker, ADragReportsEachNewColourOnceAndSavesOnRelease) {
    CGRect f = field();
    CGPoint a{f.origin.x + 40, f.origin.y + 30};
    CGPoint b{f.origin.x + 200, f.origin.y + 100};
    drag(*picker->fieldTouchEater(), {a, a, b, b, b});
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].what, "changed");
    EXPECT_EQ(log[1].what, "changed");
    EXPECT_NE(log[0].color, log[1].color);
    EXPECT_EQ(log[2], (Call{"saved", picker->aColor()}));
    EXPECT_EQ(log[1].color, picker->aColor());

    // A drag from the field into the slider's height changes the slider's value from then on.
    log.clear();
    double sliderBefore = sliderPosition();
    CGRect s = slider();
    drag(*picker->fieldTouchEater(), {a, CGPointMake(s.origin.x + 30, s.origin.y + 20)});
    EXPECT_NEAR(sliderPosition(), 30 / s.size.width, 1e-12);
    EXPECT_NE(sliderPosition(), sliderBefore);
}

TEST_P(ColorPicker, ATapCommitsItsPointAndAReleaseAnywhereStillSaves) {
    CGRect s = slider();
    CGPoint middle{s.origin.x + s.size.width / 2, s.origin.y + 20};
    drag(*picker->sliderTouchEater(), {middle});
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].what, "changed");
    EXPECT_EQ(log[1], (Call{"saved", log[0].color}));

    // Released in the centre label row, where points are ignored: nothing changes, and the
    // colour is still handed over to be saved.
    log.clear();
    drag(*picker->sliderTouchEater(), {CGPointMake(middle.x, s.origin.y - 3)});
    EXPECT_EQ(log, (std::vector<Call>{{"saved", picker->aColor()}}));
}

TEST_P(ColorPicker, ShowingAColourFromCodeNeitherCommitsNorCallsBack) {
    CGRect f = field();
    CGPoint bottom{f.origin.x + f.size.width / 2, f.origin.y + f.size.height};
    picker->dispatchTouchEvent(bottom, false);
    UIColor committed = picker->aColor();
    log.clear();

    UIColor shown = UIColor::colorWithRed(0.8, 0.2, 0.6, 1);
    picker->setAColor(shown);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(picker->aColor(), committed);
    EXPECT_EQ(picker->crossHairs()->backgroundColor(), shown);
    EXPECT_NEAR(picker->currentHue(), 320.0 / 360, 1e-12);

    // The field's bottom edge gives black, or the grey of the shown brightness: the colour
    // already committed, so no change is reported.
    picker->dispatchTouchEvent(bottom, true);
    EXPECT_TRUE(log.empty());
}

TEST_P(ColorPicker, LabelsRoundHalvesAwayFromZero) {
    picker->setAColor(UIColor::colorWithRed(0.125, 0.375, 0.125, 1));
    // Brightness 37.5% and saturation 66.67%.
    EXPECT_NE(picker->currentBrightnessLabel()->text().find("38%"), std::string::npos)
        << picker->currentBrightnessLabel()->text();
    picker->setAColor(UIColor::colorWithWhite(0.125, 1));
    EXPECT_NE(picker->currentBrightnessLabel()->text().find("13%"), std::string::npos)
        << picker->currentBrightnessLabel()->text();
}

TEST_P(ColorPicker, TheRedrawsFollowTheComponentsEachPictureShows) {
    const Kind& kind = GetParam();
    // The field draws nothing itself: it counts the drawings of its layers and shows the
    // colours of its plain ones.
    auto generations = [&] {
        std::uint64_t field = picker->fieldView()->displayGeneration();
        std::string plain;
        for (const UIViewPtr& layer : picker->fieldView()->subviews()) {
            field += layer->displayGeneration();
            plain += layer->backgroundColor() ? ColorText::format(*layer->backgroundColor()) : "-";
        }
        return std::tuple{field, picker->sliderView()->displayGeneration(), plain};
    };
    CGRect f = field();
    CGRect s = slider();
    auto before = generations();
    picker->dispatchTouchEvent(CGPointMake(f.origin.x + 50, f.origin.y + 50), true);
    auto afterField = generations();
    picker->dispatchTouchEvent(CGPointMake(s.origin.x + 50, s.origin.y + 10), true);
    auto afterSlider = generations();
    bool hueFirst = kind.slider == Component::Hue;
    // The field shows the slider's component by recolouring a plain layer, its fixed layers
    // never drawn again; the slider shows the field's two, except the hue slider, which
    // shows every hue whatever the selection.
    EXPECT_FALSE(picker->fieldView()->drawsItself());
    EXPECT_EQ(std::get<0>(afterField), std::get<0>(before));
    EXPECT_EQ(std::get<2>(afterField), std::get<2>(before));
    EXPECT_EQ(std::get<1>(afterField), std::get<1>(before) + (hueFirst ? 0 : 1));
    EXPECT_EQ(std::get<0>(afterSlider), std::get<0>(afterField));
    EXPECT_NE(std::get<2>(afterSlider), std::get<2>(afterField));
    EXPECT_EQ(std::get<1>(afterSlider), std::get<1>(afterField));
}

// The prompt each button opens, and its message for the start colour.
TEST_P(ColorPicker, EachLabelButtonOpensItsComponentsPrompt) {
    const Kind& kind = GetParam();
    auto messageFor = [](Component component) -> std::string {
        switch (component) {
            case Component::Hue:
                return "Please enter a Hue value between 0° and 360°\n current value is: 20°";
            case Component::Saturation:
                return "Please enter a Saturation value between 0% and 100%\n current value is: "
                       "75%";
            case Component::Brightness:
                break;
        }
        return "Please enter a Brightness value between 0% and 100%\n current value is: 80%";
    };
    std::pair<UIButtonPtr, Component> buttons[] = {{picker->topLeftButton(), kind.vertical},
                                                   {picker->topRightButton(), kind.horizontal},
                                                   {picker->centreButton(), kind.slider}};
    for (auto& [button, component] : buttons) {
        ASSERT_TRUE(button->userTapped());
        ASSERT_NE(alert(), nullptr);
        EXPECT_EQ(alert()->alertTitle(), std::nullopt);
        EXPECT_EQ(alert()->message(), messageFor(component));
        ASSERT_EQ(alert()->textFields().size(), 1u);
        const UITextField& typed = *alert()->textFields().front();
        EXPECT_EQ(typed.placeholder(), component == Component::Hue ? "120°" : "75%");
        EXPECT_EQ(typed.keyboardType(), UIKeyboardTypeNumberPad);
        ASSERT_EQ(alert()->actions().size(), 2u);
        EXPECT_EQ(alert()->actions()[0]->title(), "Save");
        EXPECT_EQ(alert()->actions()[1]->title(), "Cancel");
        answerAlert("12", "Cancel");
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(picker->aColor(), kStart);
    }
}

TEST_P(ColorPicker, SavingATypedValueCommitsThenSaves) {
    picker->askUserForSaturation();
    answerAlert(" 50 %", "Save");
    EXPECT_NEAR(picker->currentSaturation(), 0.5, 1e-12);
    UIColor expected = UIColor::colorWithHue(20.0 / 360, 0.5, 0.8, 1);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].what, "changed");
    EXPECT_NEAR(log[0].color.red(), expected.red(), 1e-12);
    EXPECT_EQ(log[1], (Call{"saved", log[0].color}));

    // The same value again changes nothing but is still saved.
    log.clear();
    picker->askUserForSaturation();
    answerAlert("50", "Save");
    EXPECT_EQ(log, (std::vector<Call>{{"saved", picker->aColor()}}));
}

TEST_P(ColorPicker, TypedValuesReadBackAsTheColourCarriesThem) {
    // 360° is hue 1, which is red again: it reads back as 0°.
    picker->askUserForHue();
    answerAlert("360", "Save");
    EXPECT_EQ(picker->currentHue(), 0);
    EXPECT_NE(picker->currentHueLabel()->text().find("0°"), std::string::npos);
    EXPECT_EQ(picker->currentHueLabel()->text().find("360"), std::string::npos);

    // A grey has no hue: saturation 0 brings the hue back to 0.
    picker->askUserForHue();
    answerAlert("200", "Save");
    picker->askUserForSaturation();
    answerAlert("0", "Save");
    EXPECT_EQ(picker->currentHue(), 0);
    EXPECT_EQ(picker->aColor(), UIColor::colorWithWhite(0.8, 1));

    // An empty text is 0: brightness 0 is black, and black has no hue or saturation.
    picker->askUserForHue();
    answerAlert("200", "Save");
    picker->askUserForBrightness();
    answerAlert("", "Save");
    EXPECT_EQ(picker->aColor(), UIColor::colorWithRed(0, 0, 0, 1));
    EXPECT_EQ(picker->currentHue() + picker->currentSaturation() + picker->currentBrightness(), 0);
    CGRect f = field();
    EXPECT_EQ(picker->crossHairs()->center().x,
              f.origin.x + valueOf(*picker, GetParam().horizontal) * f.size.width);

    // Values past the range stay within the colour model.
    picker->askUserForBrightness();
    answerAlert("1000", "Save");
    EXPECT_EQ(picker->currentBrightness(), 1);
}

TEST_P(ColorPicker, ThePaletteIsChosenOnceAtCreation) {
    EXPECT_EQ(picker->currentHueLabel()->textColor(), UIColor::blueColor());
    EXPECT_EQ(picker->topLeftButton()->backgroundColor(), UIColor::colorWithWhite(0, 0.04));
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    picker->setAColor(UIColor::greenColor());
    EXPECT_EQ(picker->currentHueLabel()->textColor(), UIColor::blueColor());

    auto dark = make(kStart);
    EXPECT_EQ(dark->currentSaturationLabel()->textColor(), UIColor::whiteColor());
    UIColor grey = UIColor::colorWithRed(100 / 255.0, 100 / 255.0, 100 / 255.0, 1);
    EXPECT_EQ(dark->centreButton()->backgroundColor(), grey);
}

// A picker on screen hears of a switch of appearance and takes the new palette; one that is
// not on screen keeps its own until it is shown.
TEST_P(ColorPicker, APickerOnScreenFollowsASwitchOfAppearance) {
    UIColor grey = UIColor::colorWithRed(100 / 255.0, 100 / 255.0, 100 / 255.0, 1);
    root->view()->addSubview(picker);
    auto offScreen = make(kStart);
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    EXPECT_EQ(picker->currentHueLabel()->textColor(), UIColor::whiteColor());
    EXPECT_EQ(picker->centreButton()->backgroundColor(), grey);
    EXPECT_EQ(offScreen->currentHueLabel()->textColor(), UIColor::blueColor());
    root->view()->addSubview(offScreen);
    EXPECT_EQ(offScreen->currentBrightnessLabel()->textColor(), UIColor::whiteColor());
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    EXPECT_EQ(picker->currentSaturationLabel()->textColor(), UIColor::blueColor());
    EXPECT_EQ(picker->topLeftButton()->backgroundColor(), UIColor::colorWithWhite(0, 0.04));
}

TEST_P(ColorPicker, CallbacksNeitherOutliveNorKeepThePicker) {
    std::weak_ptr<UIView> gone = picker;
    UIButtonPtr eater = picker->fieldTouchEater();
    picker->askUserForHue();
    picker.reset();
    EXPECT_TRUE(gone.expired());
    // A catcher or prompt left over after its picker does nothing.
    EXPECT_TRUE(eater->userTapped());
    answerAlert("100", "Save");
    EXPECT_TRUE(log.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ColorPicker, testing::ValuesIn(kKinds),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ColorPickerS, ASaturationOfZeroLeavesOnlyTheGreyRamp) {
    auto picker = std::make_shared<HBColorPickerView_S>(kFrame, kStart, nullptr, nullptr);
    CGRect s = picker->saturationGradientView()->frame();
    picker->dispatchTouchEvent(CGPointMake(s.origin.x + s.size.width + 5, s.origin.y), false);
    EXPECT_EQ(picker->currentSaturation(), 0);
    EXPECT_EQ(picker->hueBrightnessView()->saturation(), 0);
    EXPECT_EQ(picker->currentSaturationLabel()->text(), "0%");
}

TEST(ColorPickerB, AtBrightnessZeroTheFieldStillMovesButTheColourStaysBlack) {
    std::vector<UIColor> changes;
    int saves = 0;
    auto picker = std::make_shared<HBColorPickerView_B>(
        kFrame, kStart, [&](const UIColor& c) { changes.push_back(c); },
        [&](const UIColor&) { ++saves; });
    CGRect s = picker->brightnessGradientView()->frame();
    picker->dispatchTouchEvent(CGPointMake(s.origin.x + s.size.width, s.origin.y + 1), true);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], UIColor::colorWithRed(0, 0, 0, 1));
    EXPECT_EQ(picker->hueSaturationView()->brightness(), 0);

    CGRect f = picker->hueSaturationView()->frame();
    auto before = picker->brightnessGradientView()->displayGeneration();
    picker->touchEaterHueSaturation()->userTouchDown(CGPointMake(100, 100));
    picker->touchEaterHueSaturation()->userTouchMoved(CGPointMake(f.size.width / 2, 10));
    picker->touchEaterHueSaturation()->userTouchUp(CGPointMake(f.size.width / 2, 10));
    EXPECT_NEAR(picker->currentHue(), 0.5, 1e-12);
    EXPECT_EQ(picker->currentHueLabel()->text(), "180° : Hue");
    EXPECT_GT(picker->brightnessGradientView()->displayGeneration(), before);
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(saves, 1);
}

}  // namespace
