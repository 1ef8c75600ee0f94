#include "host/browser/ViewKinds.h"
#include "host/browser/EventShape.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include "host/browser/ViewTreeWriter.h"
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

const char* alignmentName(NSTextAlignment alignment) {
    switch (alignment) {
        case NSTextAlignmentCenter:
            return "center";
        case NSTextAlignmentRight:
            return "right";
        default:
            return "left";
    }
}

const char* borderStyleName(UITextBorderStyle style) {
    static constexpr const char* kNames[] = {"none", "line", "bezel", "roundedRect"};
    auto index = static_cast<std::size_t>(style);
    return index < std::size(kNames) ? kNames[index] : "none";
}

json fontOf(const UIFont& font) {
    return {{"size", font.pointSize()}, {"bold", font.bold()}};
}

// ---- Writing ------------------------------------------------------------------------------

void writeLabel(UILabel& label, ViewTreeWriter&, json& node) {
    node["text"] = label.text();
    node["font"] = fontOf(label.displayedFont());
    node["textColor"] = ViewTreeWriter::color(label.displayedTextColor());
    node["alignment"] = alignmentName(label.textAlignment());
    node["numberOfLines"] = label.numberOfLines();
    node["enabled"] = label.isEnabled();
}

// The title label is the button's own: the button carries its title instead.
void writeButton(UIButton& button, ViewTreeWriter&, json& node) {
    node["title"] = button.currentTitle();
    node["titleColor"] = ViewTreeWriter::color(button.currentTitleColor());
    node["font"] = fontOf(button.titleLabel()->font());
    node["enabled"] = button.isEnabled();
}

void writeSwitch(UISwitch& control, ViewTreeWriter&, json& node) {
    node["on"] = control.isOn();
    node["enabled"] = control.isEnabled();
    if (control.onTintColor()) {
        node["onTintColor"] = ViewTreeWriter::color(*control.onTintColor());
    }
}

void writeSlider(UISlider& slider, ViewTreeWriter&, json& node) {
    node["value"] = slider.value();
    node["min"] = slider.minimumValue();
    node["max"] = slider.maximumValue();
    node["enabled"] = slider.isEnabled();
}

void writeTextField(UITextField& field, ViewTreeWriter&, json& node) {
    node["text"] = field.text();
    node["placeholder"] = field.placeholder();
    node["keyboardType"] = ViewTreeWriter::keyboardName(field.keyboardType());
    node["secure"] = field.secureTextEntry();
    node["borderStyle"] = borderStyleName(field.borderStyle());
    node["font"] = fontOf(field.font());
    node["textColor"] = ViewTreeWriter::color(field.textColor());
    node["alignment"] = alignmentName(field.textAlignment());
    node["enabled"] = field.isEnabled();
}

void writeTextView(UITextView& text, ViewTreeWriter&, json& node) {
    node["text"] = text.text();
    node["font"] = fontOf(text.font());
    node["textColor"] = ViewTreeWriter::color(text.textColor());
    node["alignment"] = alignmentName(text.textAlignment());
    node["numberOfLines"] = 0;
    node["editable"] = text.isEditable();
}

void writeImageView(UIImageView& image, ViewTreeWriter& writer, json& node) {
    node["image"] = image.image() ? json(writer.imageURL(image.image())) : json(nullptr);
}

void writeTable(UITableView& table, ViewTreeWriter& writer, json& node) {
    writer.writeTable(table, node);
}

void writeControl(UIControl& control, ViewTreeWriter&, json& node) {
    node["enabled"] = control.isEnabled();
}

void writePlain(UIView&, ViewTreeWriter&, json&) {}

// The drawing holds the subviews too.
void writeDrawing(UIView& view, ViewTreeWriter& writer, json& node) {
    node["image"] = writer.drawingURL(view);
    if (auto* control = dynamic_cast<UIControl*>(&view)) {
        node["enabled"] = control->isEnabled();
    }
}

// ---- Events -------------------------------------------------------------------------------

Status touchSwitch(UISwitch& control, const std::string& name, const json& event) {
    if (!control.isEnabled() || !control.isUserInteractionEnabled()) {
        return Status::failure("the switch is disabled");
    }
    if (name == "valueChanged") {
        const json& value = event.at("value");
        if (!value.is_boolean()) {
            return Status::failure("a switch takes true or false");
        }
        control.userToggled(value.get<bool>());
        return Status::success();
    }
    if (name == "touchUpInside") {
        control.userToggled();
        return Status::success();
    }
    return Status::failure("a switch takes valueChanged or touchUpInside");
}

Status touchSlider(UISlider& slider, const std::string& name, const json& event) {
    if (!slider.isEnabled() || !slider.isUserInteractionEnabled()) {
        return Status::failure("the slider is disabled");
    }
    const json* value = event.contains("value") ? &event["value"] : nullptr;
    if (value && !value->is_number()) {
        return Status::failure("a slider takes a number");
    }
    if (name == "touchDown") {
        slider.userBeganTracking();
    } else if (name == "valueChanged" || name == "touchDragInside") {
        if (value) {
            slider.userChangedValue(value->get<float>());
        }
    } else if (name == "touchUpInside" || name == "touchUpOutside") {
        if (value) {
            slider.userChangedValue(value->get<float>());
        }
        slider.userEndedTracking(name == "touchUpInside" ? TouchRelease::Inside
                                                         : TouchRelease::Outside);
    } else {
        return Status::failure("a slider takes no " + name);
    }
    return Status::success();
}

Status touchControl(UIControl& control, const std::string& name, const json& event) {
    CGRect bounds = control.bounds();
    CGPoint point = event.contains("point") ? EventShape::pointOf(event["point"])
                                            : CGPoint{bounds.origin.x + bounds.size.width / 2,
                                                      bounds.origin.y + bounds.size.height / 2};
    bool down = name == "touchDown" || (name == "touchUpInside" && !control.isTracking());
    if (down && !control.userTouchDown(point)) {
        return Status::failure("the control is disabled");
    }
    if (name == "touchDown") {
        return Status::success();
    }
    if (name != "touchDragInside" && name != "touchUpInside" && name != "touchUpOutside") {
        return Status::failure("the control takes no " + name);
    }
    if (!control.isTracking()) {
        return Status::failure("the control is not being touched");
    }
    if (name == "touchDragInside") {
        control.userTouchMoved(point);
    } else {
        control.userTouchUp(point);
    }
    return Status::success();
}

// A view that draws itself takes touches as the control it is would.
Status touchDrawing(UIView& view, const std::string& name, const json& event) {
    const ViewKind& native = ViewKinds::nativeOf(view);
    if (!native.control) {
        return Status::failure("the view takes no touches");
    }
    return native.control(view, name, event);
}

Status typeIntoField(UITextField& field, const std::string& typed, bool end) {
    if (typed != field.text() && !field.userTyped(typed)) {
        return Status::failure("the field cannot be edited");
    }
    if (end) {
        field.userEndedEditing();
    }
    return Status::success();
}

// ---- Entries ------------------------------------------------------------------------------

// An entry for the views of one class; the handlers may take a base class of it.
template <class View, class Write, class Control = std::nullptr_t, class Text = std::nullptr_t>
ViewKind entry(std::string_view name, Write write, Subviews subviews = Subviews::Written,
               Control control = nullptr, Text text = nullptr) {
    ViewKind kind{name,
                  // The entry of UIView itself takes every view; comparing a cast of a
                  // reference to null would be the release build's warning.
                  [](const UIView& view) {
                      if constexpr (std::is_same_v<View, UIView>) {
                          return true;
                      } else {
                          return dynamic_cast<const View*>(&view) != nullptr;
                      }
                  },
                  [write](UIView& view, ViewTreeWriter& writer, json& node) {
                      write(dynamic_cast<View&>(view), writer, node);
                  },
                  subviews,
                  {},
                  {}};
    if constexpr (!std::is_same_v<Control, std::nullptr_t>) {
        kind.control = [control](UIView& view, const std::string& event, const json& body) {
            return control(dynamic_cast<View&>(view), event, body);
        };
    }
    if constexpr (!std::is_same_v<Text, std::nullptr_t>) {
        kind.text = [text](UIView& view, const std::string& typed, bool end) {
            return text(dynamic_cast<View&>(view), typed, end);
        };
    }
    return kind;
}

const ViewKind* find(const UIView& view, std::size_t first) {
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
        {kSelfDrawn,
         [](const UIView& view) { return view.drawsItself(); },
         writeDrawing,
         Omitted,
         touchDrawing,
         {}},
        entry<UITableView>("UITableView", writeTable, Omitted),
        entry<UILabel>("UILabel", writeLabel),
        entry<UIButton>("UIButton", writeButton, Omitted, touchControl),
        entry<UISwitch>("UISwitch", writeSwitch, Omitted, touchSwitch),
        entry<UISlider>("UISlider", writeSlider, Omitted, touchSlider),
        entry<UITextField>("UITextField", writeTextField, Written, nullptr, typeIntoField),
        entry<UITextView>("UITextView", writeTextView),
        entry<UIImageView>("UIImageView", writeImageView),
        entry<UIControl>("UIControl", writeControl, Written, touchControl),
        entry<UIView>("UIView", writePlain),
    };
    return kinds;
}

const ViewKind& ViewKinds::of(const UIView& view) {
    return *find(view, 0);
}

const ViewKind& ViewKinds::nativeOf(const UIView& view) {
    return *find(view, 1);
}
