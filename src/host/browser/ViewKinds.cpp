#include "host/browser/ViewKinds.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include "host/browser/TableWriter.h"
#include "host/browser/ViewWriteContext.h"
#include "host/browser/WireText.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"

namespace {

using nlohmann::json;
using Subviews = ViewKind::Subviews;

void writeLabel(UILabel& label, ViewWriteContext&, json& node) {
    node["text"] = label.text();
    node["font"] = WireText::font(label.displayedFont());
    node["textColor"] = WireText::color(label.displayedTextColor());
    node["alignment"] = WireText::alignmentName(label.textAlignment());
    node["numberOfLines"] = label.numberOfLines();
    node["enabled"] = label.isEnabled();
}

// The title label is the button's own: the button carries its title instead.
void writeButton(UIButton& button, ViewWriteContext&, json& node) {
    node["title"] = button.currentTitle();
    node["titleColor"] = WireText::color(button.currentTitleColor());
    node["font"] = WireText::font(button.titleLabel()->font());
    node["enabled"] = button.isEnabled();
}

void writeSwitch(UISwitch& control, ViewWriteContext&, json& node) {
    node["on"] = control.isOn();
    node["enabled"] = control.isEnabled();
    if (control.onTintColor()) {
        node["onTintColor"] = WireText::color(*control.onTintColor());
    }
}

void writeSlider(UISlider& slider, ViewWriteContext&, json& node) {
    node["value"] = slider.value();
    node["min"] = slider.minimumValue();
    node["max"] = slider.maximumValue();
    node["enabled"] = slider.isEnabled();
}

void writeTextField(UITextField& field, ViewWriteContext&, json& node) {
    node["text"] = field.text();
    node["placeholder"] = field.placeholder();
    node["keyboardType"] = WireText::keyboardName(field.keyboardType());
    node["secure"] = field.secureTextEntry();
    node["borderStyle"] = WireText::borderStyleName(field.borderStyle());
    node["font"] = WireText::font(field.font());
    node["textColor"] = WireText::color(field.textColor());
    node["alignment"] = WireText::alignmentName(field.textAlignment());
    node["enabled"] = field.isEnabled();
}

void writeTextView(UITextView& text, ViewWriteContext&, json& node) {
    node["text"] = text.text();
    node["font"] = WireText::font(text.font());
    node["textColor"] = WireText::color(text.textColor());
    node["alignment"] = WireText::alignmentName(text.textAlignment());
    node["numberOfLines"] = 0;
    node["editable"] = text.isEditable();
}

void writeImageView(UIImageView& image, ViewWriteContext& context, json& node) {
    node["image"] = image.image() ? json(context.imageURL(image.image())) : json(nullptr);
}

void writeTableView(UITableView& table, ViewWriteContext& context, json& node) {
    TableWriter(context).write(table, node);
}

void writeControl(UIControl& control, ViewWriteContext&, json& node) {
    node["enabled"] = control.isEnabled();
}

void writePlain(UIView&, ViewWriteContext&, json&) {}

// The drawing holds the subviews too.
void writeDrawing(UIView& view, ViewWriteContext& context, json& node) {
    node["image"] = context.drawingURL(view);
    if (auto* control = dynamic_cast<UIControl*>(&view)) {
        node["enabled"] = control->isEnabled();
    }
}

// An entry for the views of one class; the writer may take a base class of it.
template <class View, class Write>
ViewKind entry(std::string_view name, Write write, Subviews subviews = Subviews::Written) {
    return {name,
            // The entry of UIView itself takes every view; comparing a cast of a reference to
            // null would be the release build's warning.
            [](const UIView& view) {
                if constexpr (std::is_same_v<View, UIView>) {
                    return true;
                } else {
                    return dynamic_cast<const View*>(&view) != nullptr;
                }
            },
            [write](UIView& view, ViewWriteContext& context, json& node) {
                write(dynamic_cast<View&>(view), context, node);
            },
            subviews};
}

const ViewKind* findKind(const UIView& view, std::size_t first) {
    const std::vector<ViewKind>& kinds = ViewKinds::all();
    auto found = std::find_if(kinds.begin() + static_cast<std::ptrdiff_t>(first), kinds.end(),
                              [&](const ViewKind& kind) { return kind.matches(view); });
    // The last entry, UIView, matches every view.
    return &*found;
}

}  // namespace

const std::vector<ViewKind>& ViewKinds::all() {
    using enum ViewKind::Subviews;
    static const std::vector<ViewKind> kinds = {
        {kSelfDrawn, [](const UIView& view) { return view.drawsItself(); }, writeDrawing, Omitted},
        entry<UITableView>("UITableView", writeTableView, Omitted),
        entry<UILabel>("UILabel", writeLabel),
        entry<UIButton>("UIButton", writeButton, Omitted),
        entry<UISwitch>("UISwitch", writeSwitch, Omitted),
        entry<UISlider>("UISlider", writeSlider, Omitted),
        entry<UITextField>("UITextField", writeTextField),
        entry<UITextView>("UITextView", writeTextView),
        entry<UIImageView>("UIImageView", writeImageView),
        entry<UIControl>("UIControl", writeControl),
        entry<UIView>("UIView", writePlain),
    };
    return kinds;
}

const ViewKind& ViewKinds::of(const UIView& view) {
    return *findKind(view, 0);
}

const ViewKind& ViewKinds::nativeOf(const UIView& view) {
    return *findKind(view, 1);
}
