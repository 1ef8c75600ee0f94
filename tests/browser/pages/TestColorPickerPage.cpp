#include "TestColorPickerPage.h"

#include "color/HBColorPickerView_B.h"
#include "color/HBColorPickerView_H.h"
#include "color/HBColorPickerView_S.h"
#include "model/HBColorValues.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/UIScreen.h"

namespace {

using Kind = TestColorPickerPage::Kind;

const bool registered =
    PSControllerClasses::registerClass(
        "TestColorPickerPage_H", [] { return std::make_shared<TestColorPickerPage>(Kind::H); }) &&
    PSControllerClasses::registerClass(
        "TestColorPickerPage_S", [] { return std::make_shared<TestColorPickerPage>(Kind::S); }) &&
    PSControllerClasses::registerClass(
        "TestColorPickerPage_B", [] { return std::make_shared<TestColorPickerPage>(Kind::B); });

constexpr CGSize kPickerSize{390, 380};

std::string hexOf(const UIColor& color) {
    return HBColorValues::hexStringWithRed(HBColorValues::channelFromComponent(color.red()),
                                           HBColorValues::channelFromComponent(color.green()),
                                           HBColorValues::channelFromComponent(color.blue()));
}

// The blocks hold the label weakly, as a colour cell holds itself.
HBColorBlock showIn(const std::shared_ptr<UILabel>& label, std::string prefix) {
    std::weak_ptr<UILabel> weak = label;
    return [weak, prefix](const UIColor& color) {
        if (auto shown = weak.lock()) {
            shown->setText(prefix + hexOf(color));
        }
    };
}

}  // namespace

TestColorPickerPage::TestColorPickerPage(Kind kind) : _kind(kind) {
    setTitle("Picker Test");
    _changedLabel = std::make_shared<UILabel>(CGRectMake(10, kPickerSize.height + 10, 370, 24));
    _savedLabel = std::make_shared<UILabel>(CGRectMake(10, kPickerSize.height + 40, 370, 24));
    _changedLabel->setText("Changed -");
    _savedLabel->setText("Saved -");
}

std::string TestColorPickerPage::className() const {
    switch (_kind) {
        case Kind::H:
            return "TestColorPickerPage_H";
        case Kind::S:
            return "TestColorPickerPage_S";
        case Kind::B:
            break;
    }
    return "TestColorPickerPage_B";
}

HBColorPickerViewPtr TestColorPickerPage::makePicker() {
    CGRect frame{{0, 0}, kPickerSize};
    UIColor start = UIColor::colorWithRed(0x33 / 255.0, 0x66 / 255.0, 0xCC / 255.0, 1);
    HBColorBlock changed = showIn(_changedLabel, "Changed ");
    HBColorBlock saved = showIn(_savedLabel, "Saved ");
    switch (_kind) {
        case Kind::H:
            return std::make_shared<HBColorPickerView_H>(frame, start, changed, saved);
        case Kind::S:
            return std::make_shared<HBColorPickerView_S>(frame, start, changed, saved);
        case Kind::B:
            break;
    }
    return std::make_shared<HBColorPickerView_B>(frame, start, changed, saved);
}

void TestColorPickerPage::loadView() {
    auto view = std::make_shared<UIView>(UIScreen::mainScreen().bounds());
    view->setBackgroundColor(UIColor::whiteColor());
    _content = std::make_shared<UIView>(view->bounds());
    _content->addSubview(makePicker());
    _content->addSubview(_changedLabel);
    _content->addSubview(_savedLabel);
    view->addSubview(_content);
    setView(view);
}

void TestColorPickerPage::viewWillAppear(bool animated) {
    PSViewController::viewWillAppear(animated);
    CGRect frame = view()->bounds();
    frame.origin.y = view()->safeAreaInsets().top;
    _content->setFrame(frame);
}
