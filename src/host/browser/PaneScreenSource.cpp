#include "host/browser/PaneScreenSource.h"

#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "host/browser/ViewTreeWriter.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/system/DeviceRoot.h"
#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDocumentInteractionController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"

namespace {

using nlohmann::json;

CGPoint pointOf(const json& value) {
    return CGPoint{value.at(0).get<double>(), value.at(1).get<double>()};
}

NSIndexPath indexPathOf(const json& value) {
    return NSIndexPath::indexPathForRow(value.at(1).get<long>(), value.at(0).get<long>());
}

std::optional<SharedFile> readShare(const UIDocumentInteractionController::Share& share) {
    std::ifstream in(share.hostPath, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::filesystem::path path(share.hostPath);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string type =
        path.extension() == ".plist" ? "application/x-plist" : "application/octet-stream";
    return SharedFile{path.filename().string(), type, std::move(bytes)};
}

UIUserInterfaceStyle styleNamed(const std::string& name) {
    return name == "dark" ? UIUserInterfaceStyleDark : UIUserInterfaceStyleLight;
}

}  // namespace

std::unique_ptr<PaneScreenSource> PaneScreenSource::start(const ScreenOptions& options,
                                                          std::string_view pageClass) {
    UIScreen::mainScreen().setBounds(CGRectMake(0, 0, options.width, options.height));
    UITraitCollection::setCurrentUserInterfaceStyle(styleNamed(options.appearance));
    std::unique_ptr<HeadlessHost> host = HeadlessHost::startWithPageNamed(pageClass);
    if (!host) {
        return nullptr;
    }
    return std::unique_ptr<PaneScreenSource>(new PaneScreenSource(std::move(host)));
}

PaneScreenSource::PaneScreenSource(std::unique_ptr<HeadlessHost> host) : host_(std::move(host)) {
    // Whatever the first page opened or shared while it was built is not the user's doing.
    UIApplication::sharedApplication().takeOpenedURLs();
    UIDocumentInteractionController::takePresentedShares();
    refresh();
}

// ---- Screen -------------------------------------------------------------------------------

json PaneScreenSource::screen() {
    if (!fresh_) {
        refresh();
    }
    json shown = std::move(*fresh_);
    fresh_.reset();
    return shown;
}

void PaneScreenSource::refresh() {
    json shown = buildScreen();
    std::size_t hash = std::hash<std::string>{}(shown.dump());
    if (revision_ == 0 || hash != hash_) {
        hash_ = hash;
        ++revision_;
    }
    shown["revision"] = revision_;
    fresh_ = std::move(shown);
}

json PaneScreenSource::buildScreen() {
    ViewTreeWriter writer(identifiers_, images_);
    UIViewController* top = host_->topPage();
    UIAlertController* alert = host_->presentedAlert();
    CGRect bounds = UIScreen::mainScreen().bounds();
    json shown = {
        {"navigation", navigation()},
        {"page", top ? writer.view(*top->view()) : json(nullptr)},
        {"alert", alert ? writer.alert(*alert) : json(nullptr)},
        {"appearance", UITraitCollection::current().userInterfaceStyle == UIUserInterfaceStyleDark
                           ? "dark"
                           : "light"},
        {"screen", {{"width", bounds.size.width}, {"height", bounds.size.height}}},
    };
    images_.dropUnused();
    identifiers_.forgetDeadViews();
    return shown;
}

json PaneScreenSource::navigation() {
    const auto& stack = host_->navigation().viewControllers();
    json back = stack.size() > 1 ? json(stack[stack.size() - 2]->title()) : json(nullptr);
    return {{"title", stack.empty() ? "" : stack.back()->title()}, {"back", std::move(back)}};
}

// ---- Outcomes -----------------------------------------------------------------------------

void PaneScreenSource::runDueWork() {
    if (RunLoop::main().runUntilIdle() > 0) {
        collectOutcomes();
        refresh();
    }
}

void PaneScreenSource::collectOutcomes() {
    for (const NSURL& url : UIApplication::sharedApplication().takeOpenedURLs()) {
        openedURLs_.push_back(url.absoluteString());
    }
    std::vector<UIDocumentInteractionController::Share> shares =
        UIDocumentInteractionController::takePresentedShares();
    if (!shares.empty()) {
        sharedFile_ = readShare(shares.back());
    }
}

std::optional<SharedFile> PaneScreenSource::takeSharedFile() {
    return std::exchange(sharedFile_, std::nullopt);
}

std::vector<std::string> PaneScreenSource::takeOpenedURLs() {
    return std::exchange(openedURLs_, {});
}

// ---- Events -------------------------------------------------------------------------------

Status PaneScreenSource::handleEvent(const json& event) {
    Status applied = Status::success();
    try {
        applied = dispatch(event);
    } catch (const json::exception&) {
        // Fields are read before anything is done, so a malformed event changed nothing.
        return Status::failure("malformed event");
    }
    if (applied) {
        collectOutcomes();
        refresh();
    }
    return applied;
}

Status PaneScreenSource::dispatch(const json& event) {
    std::string type = event.at("type").get<std::string>();
    if (type == "alertAction") {
        return alertAction(event);
    }
    if (type == "appearance") {
        return appearance(event);
    }
    // An alert is modal: the page under it takes nothing until it is answered.
    if (host_->presentedAlert()) {
        return Status::failure("an alert is shown: answer it first");
    }
    using Handler = Status (PaneScreenSource::*)(const json&);
    static const std::map<std::string, Handler, std::less<>> kHandlers = {
        {"tapRow", &PaneScreenSource::tapRow},       {"moveRow", &PaneScreenSource::moveRow},
        {"deleteRow", &PaneScreenSource::deleteRow}, {"longPress", &PaneScreenSource::longPress},
        {"control", &PaneScreenSource::control},     {"text", &PaneScreenSource::text},
    };
    if (type == "back") {
        return back();
    }
    auto handler = kHandlers.find(type);
    if (handler == kHandlers.end()) {
        return Status::failure("unknown event type " + type);
    }
    return (this->*handler->second)(event);
}

Status PaneScreenSource::checkRow(long section, long row) {
    UITableView* table = host_->visibleTable();
    if (!table) {
        return Status::failure("the page shows no table");
    }
    const std::vector<UITableViewSection>& sections = table->snapshot();
    if (section < 0 || row < 0 || section >= static_cast<long>(sections.size()) ||
        row >= static_cast<long>(sections[static_cast<std::size_t>(section)].rows.size())) {
        return Status::failure(fmt::format("no row {} in section {}", row, section));
    }
    return Status::success();
}

Status PaneScreenSource::tapRow(const json& event) {
    long section = event.at("section").get<long>();
    long row = event.at("row").get<long>();
    if (Status found = checkRow(section, row); !found) {
        return found;
    }
    return host_->tapRow(section, row)
               ? Status::success()
               : Status::failure(fmt::format("row {} in section {} takes no taps", row, section));
}

Status PaneScreenSource::moveRow(const json& event) {
    NSIndexPath from = indexPathOf(event.at("from"));
    NSIndexPath to = indexPathOf(event.at("to"));
    if (Status found = checkRow(from.section(), from.row()); !found) {
        return found;
    }
    return host_->dragRow(from, to) ? Status::success()
                                    : Status::failure("the row cannot move there");
}

Status PaneScreenSource::deleteRow(const json& event) {
    long section = event.at("section").get<long>();
    long row = event.at("row").get<long>();
    if (Status found = checkRow(section, row); !found) {
        return found;
    }
    // Rows offer their delete control only while the table is editing.
    if (!host_->visibleTable()->isEditing()) {
        return Status::failure("the table is not editing");
    }
    return host_->commitDelete(section, row) ? Status::success()
                                             : Status::failure("the row cannot be deleted");
}

Status PaneScreenSource::longPress(const json& event) {
    CGPoint point = pointOf(event.at("point"));
    return host_->longPress(point) ? Status::success()
                                   : Status::failure(fmt::format(
                                         "nothing takes a long press at {}, {}", point.x, point.y));
}

Status PaneScreenSource::back() {
    if (host_->depth() <= 1) {
        return Status::failure("the first page has no way back");
    }
    host_->goBack();
    return Status::success();
}

Status PaneScreenSource::appearance(const json& event) {
    std::string value = event.at("value").get<std::string>();
    if (value != "light" && value != "dark") {
        return Status::failure("appearance is light or dark");
    }
    UITraitCollection::setCurrentUserInterfaceStyle(styleNamed(value));
    // Cells choose their colours when they are filled: fill the visible ones again.
    if (UITableView* table = host_->visibleTable()) {
        table->reloadData();
    }
    return Status::success();
}

// ---- Controls -----------------------------------------------------------------------------

std::shared_ptr<UIView> PaneScreenSource::visibleView(const std::string& identifier) {
    std::shared_ptr<UIView> view = identifiers_.viewFor(identifier);
    UIView* page = host_->topPage() ? host_->topPage()->view().get() : nullptr;
    for (UIView* shown = view.get(); shown && !shown->isHidden(); shown = shown->superview()) {
        if (shown == page) {
            return view;
        }
    }
    return nullptr;
}

Status PaneScreenSource::control(const json& event) {
    std::string identifier = event.at("id").get<std::string>();
    std::string name = event.at("event").get<std::string>();
    std::shared_ptr<UIView> view = visibleView(identifier);
    if (!view) {
        return Status::failure("no view " + identifier + " on the screen");
    }
    if (auto* toggle = dynamic_cast<UISwitch*>(view.get())) {
        return touchSwitch(*toggle, name, event);
    }
    if (auto* slider = dynamic_cast<UISlider*>(view.get())) {
        return touchSlider(*slider, name, event);
    }
    if (auto* other = dynamic_cast<UIControl*>(view.get())) {
        return touchControl(*other, name, event);
    }
    return Status::failure("view " + identifier + " takes no touches");
}

Status PaneScreenSource::touchSwitch(UISwitch& control, const std::string& name,
                                     const json& event) {
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

Status PaneScreenSource::touchSlider(UISlider& slider, const std::string& name, const json& event) {
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
        slider.userEndedTracking(name == "touchUpInside" ? UITouchRelease::Inside
                                                         : UITouchRelease::Outside);
    } else {
        return Status::failure("a slider takes no " + name);
    }
    return Status::success();
}

Status PaneScreenSource::touchControl(UIControl& control, const std::string& name,
                                      const json& event) {
    CGRect bounds = control.bounds();
    CGPoint point = event.contains("point") ? pointOf(event["point"])
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

Status PaneScreenSource::text(const json& event) {
    std::string identifier = event.at("id").get<std::string>();
    std::string typed = event.at("text").get<std::string>();
    bool end = event.value("end", false);
    std::shared_ptr<UIView> view = visibleView(identifier);
    auto* field = dynamic_cast<UITextField*>(view.get());
    if (!field) {
        return Status::failure("no text field " + identifier + " on the screen");
    }
    if (typed != field->text() && !field->userTyped(std::move(typed))) {
        return Status::failure("the field cannot be edited");
    }
    if (end) {
        field->userEndedEditing();
    }
    return Status::success();
}

Status PaneScreenSource::alertAction(const json& event) {
    UIAlertController* alert = host_->presentedAlert();
    if (!alert) {
        return Status::failure("no alert is shown");
    }
    std::size_t index = event.at("index").get<std::size_t>();
    std::vector<std::string> texts = event.value("texts", std::vector<std::string>{});
    if (index >= alert->actions().size() || !alert->actions()[index]->isEnabled()) {
        return Status::failure(fmt::format("the alert has no action {}", index));
    }
    if (texts.size() > alert->textFields().size()) {
        return Status::failure(
            fmt::format("the alert has {} text fields", alert->textFields().size()));
    }
    // Typing comes first: the action's handler reads the fields.
    for (std::size_t i = 0; i < texts.size(); ++i) {
        UITextField& field = *alert->textFields()[i];
        if (texts[i] != field.text() && field.userTyped(texts[i])) {
            field.userEndedEditing();
        }
    }
    alert->userTappedAction(index);
    return Status::success();
}
