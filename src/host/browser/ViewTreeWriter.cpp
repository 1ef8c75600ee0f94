#include "host/browser/ViewTreeWriter.h"

#include "host/browser/ViewKinds.h"
#include "host/browser/WireText.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UITextField.h"

namespace {

using nlohmann::json;

json frameOf(CGRect frame) {
    return json::array({frame.origin.x, frame.origin.y, frame.size.width, frame.size.height});
}

const char* actionStyleName(UIAlertActionStyle style) {
    switch (style) {
        case UIAlertActionStyleCancel:
            return "cancel";
        case UIAlertActionStyleDestructive:
            return "destructive";
        default:
            return "default";
    }
}

json optionalText(const std::optional<std::string>& text) {
    return text ? json(*text) : json(nullptr);
}

}  // namespace

json ViewTreeWriter::view(UIView& view) {
    return viewAt(view, view.frame());
}

json ViewTreeWriter::viewAt(UIView& view, CGRect frame) {
    view.layoutIfNeeded();
    json node = {{"type", view.className()},
                 {"id", identifiers_.identifierFor(view)},
                 {"frame", frameOf(frame)}};
    addLayer(view, node);
    addContent(view, node);
    return node;
}

void ViewTreeWriter::addLayer(const UIView& view, json& node) {
    if (view.backgroundColor()) {
        node["backgroundColor"] = WireText::color(*view.backgroundColor());
    }
    if (view.alpha() != 1) {
        node["alpha"] = view.alpha();
    }
    if (view.isHidden()) {
        node["hidden"] = true;
    }
    // Labels and other views that take no touches let them through to the views beneath.
    if (!view.isUserInteractionEnabled()) {
        node["userInteraction"] = false;
    }
    const CALayer& layer = view.layer();
    if (layer.cornerRadius != 0) {
        node["cornerRadius"] = layer.cornerRadius;
    }
    if (layer.borderWidth != 0) {
        node["borderWidth"] = layer.borderWidth;
        node["borderColor"] = WireText::optionalColor(layer.borderColor);
    }
    if (layer.masksToBounds) {
        node["clipsToBounds"] = true;
    }
    if (layer.shadowColor && layer.shadowOpacity > 0) {
        node["shadow"] = {{"color", WireText::color(*layer.shadowColor)},
                          {"opacity", layer.shadowOpacity},
                          {"offset", {layer.shadowOffset.width, layer.shadowOffset.height}},
                          {"radius", layer.shadowRadius}};
    }
}

void ViewTreeWriter::addContent(UIView& view, json& node) {
    const ViewKind& kind = ViewKinds::of(view);
    if (kind.name != ViewKinds::kSelfDrawn && kind.name != "UIView" && kind.name != node["type"]) {
        node["kind"] = kind.name;
    }
    kind.write(view, *this, node);
    if (kind.subviews == ViewKind::Subviews::Written) {
        addSubviews(view, node);
    }
}

std::string ViewTreeWriter::identifierOf(UIView& view) {
    return identifiers_.identifierFor(view);
}

std::string ViewTreeWriter::imageURL(const UIImagePtr& image) {
    return images_.dataURL(image);
}

std::string ViewTreeWriter::drawingURL(UIView& view) {
    return images_.drawingOf(view, identifiers_.identifierFor(view));
}

void ViewTreeWriter::addSubviews(UIView& view, json& node) {
    if (view.subviews().empty()) {
        return;
    }
    json subviews = json::array();
    for (const UIViewPtr& subview : view.subviews()) {
        subviews.push_back(this->view(*subview));
    }
    node["subviews"] = std::move(subviews);
}

json ViewTreeWriter::alert(const UIAlertController& alert) {
    json fields = json::array();
    for (const UITextFieldPtr& field : alert.textFields()) {
        fields.push_back({{"placeholder", field->placeholder()},
                          {"text", field->text()},
                          {"keyboardType", WireText::keyboardName(field->keyboardType())},
                          {"secure", field->secureTextEntry()}});
    }
    json actions = json::array();
    for (const UIAlertActionPtr& action : alert.actions()) {
        actions.push_back({{"title", action->title()},
                           {"style", actionStyleName(action->style())},
                           {"enabled", action->isEnabled()}});
    }
    return {{"title", optionalText(alert.alertTitle())},
            {"message", optionalText(alert.message())},
            {"textFields", std::move(fields)},
            {"actions", std::move(actions)}};
}
