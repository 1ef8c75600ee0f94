#include "host/browser/ViewInputs.h"

#include <algorithm>

#include "host/browser/EventShape.h"
#include "host/browser/ViewKinds.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"

namespace {

using nlohmann::json;

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

const ViewInput* inputOfKind(std::string_view kind) {
    const std::vector<ViewInput>& inputs = ViewInputs::all();
    auto found = std::find_if(inputs.begin(), inputs.end(),
                              [&](const ViewInput& input) { return input.kind == kind; });
    return found == inputs.end() ? nullptr : &*found;
}

// A view that draws itself takes touches as the control it is would.
Status touchDrawing(UIView& view, const std::string& name, const json& event) {
    const ViewInput* native = inputOfKind(ViewKinds::nativeOf(view).name);
    if (!native || !native->control) {
        return Status::failure("the view takes no touches");
    }
    return native->control(view, name, event);
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

// The touches of the views of one kind; the handler may take a base class of it.
template <class View, class Touch>
ViewInput touches(std::string_view kind, Touch touch) {
    return {kind,
            [touch](UIView& view, const std::string& name, const json& event) {
                return touch(dynamic_cast<View&>(view), name, event);
            },
            {}};
}

}  // namespace

const std::vector<ViewInput>& ViewInputs::all() {
    static const std::vector<ViewInput> inputs = {
        {ViewKinds::kSelfDrawn, touchDrawing, {}},
        touches<UIButton>("UIButton", touchControl),
        touches<UISwitch>("UISwitch", touchSwitch),
        touches<UISlider>("UISlider", touchSlider),
        touches<UIControl>("UIControl", touchControl),
        {"UITextField",
         {},
         [](UIView& view, const std::string& typed, bool end) {
             return typeIntoField(dynamic_cast<UITextField&>(view), typed, end);
         }},
    };
    return inputs;
}

const ViewInput* ViewInputs::of(const UIView& view) {
    return inputOfKind(ViewKinds::of(view).name);
}
