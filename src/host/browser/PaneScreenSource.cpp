#include "host/browser/PaneScreenSource.h"

#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "host/browser/EventShape.h"
#include "host/browser/SoundFiles.h"
#include "host/browser/ViewInputs.h"
#include "host/browser/ViewTreeWriter.h"
#include "kit/HBFileTaker.h"
#include "kit/HBUndoPrompt.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/system/DeviceRoot.h"
#include "platform/system/SystemSoundServices.h"
#include "platform/ui/UIAlertAction.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDocumentInteractionController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITextField.h"
#include "store/HBPreferences.h"

namespace {

using nlohmann::json;

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
    std::size_t hash = std::hash<json>{}(shown);
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
        {"screen",
         {{"width", bounds.size.width},
          {"height", bounds.size.height},
          {"statusBarHeight", UIScreen::mainScreen().statusBarHeight()},
          {"navigationBarHeight", host_->navigation().navigationBar().frame().size.height}}},
        {"saveFailure", saveFailure()},
        {"history", history()},
        {"takesFiles", fileTaker() != nullptr},
        {"sounds", sounds()},
    };
    images_.dropUnused();
    identifiers_.forgetDeadViews();
    return shown;
}

json PaneScreenSource::navigation() {
    const auto& stack = host_->navigation().viewControllers();
    json back = stack.size() > 1 ? json(stack[stack.size() - 2]->title()) : json(nullptr);
    return {{"title", stack.empty() ? "" : stack.back()->title()},
            {"back", std::move(back)},
            {"depth", stack.size()}};
}

// The store keeps the value a failed write could not save and tries again at the next
// change; meanwhile the page says which file could not be written and why.
json PaneScreenSource::saveFailure() {
    const std::optional<HBPreferences::SaveFailure>& failure =
        HBPreferences::sharedInstance().lastSaveFailure();
    return failure ? json{{"path", failure->path}, {"message", failure->message}} : json(nullptr);
}

// The steps an undo and a redo would take, by their titles.
json PaneScreenSource::history() {
    auto titled = [](HBUndoHistory::Direction direction) {
        std::optional<std::string> title = HBUndoHistory::shared().title(direction);
        return title ? json(*title) : json(nullptr);
    };
    return {{"undo", titled(HBUndoHistory::Direction::Undo)},
            {"redo", titled(HBUndoHistory::Direction::Redo)}};
}

// What the pane played, for the page to play too: the last play of each sound; a play leaves
// the list when its sound is disposed of or plays again, and the page then stops it.
json PaneScreenSource::sounds() {
    json playing = json::array();
    for (const SystemSoundServices::LatestPlay& play :
         SystemSoundServices::shared().latestPlays()) {
        playing.push_back({{"play", play.serial}, {"url", SoundFiles::address(play.path)}});
    }
    return playing;
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

std::optional<std::string> PaneScreenSource::drawing(const std::string& identifier,
                                                     std::uint64_t version) {
    return images_.drawingPNG(identifier, version);
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
        {"scroll", &PaneScreenSource::scroll},
    };
    if (type == "back") {
        return back();
    }
    if (type == "undo" || type == "redo") {
        return takeStep(type == "undo" ? HBUndoHistory::Direction::Undo
                                       : HBUndoHistory::Direction::Redo);
    }
    auto handler = kHandlers.find(type);
    if (handler == kHandlers.end()) {
        return Status::failure("unknown event type " + type);
    }
    return (this->*handler->second)(event);
}

HBFileTaker* PaneScreenSource::fileTaker() {
    return host_->presentedAlert() ? nullptr : dynamic_cast<HBFileTaker*>(host_->topPage());
}

Status PaneScreenSource::receiveFile(const std::string& name, std::string_view bytes) {
    HBFileTaker* page = fileTaker();
    if (!page) {
        return Status::failure(host_->presentedAlert() ? "an alert is shown: answer it first"
                                                       : "the page shown takes no files");
    }
    page->takeFile(name, bytes);
    collectOutcomes();
    refresh();
    return Status::success();
}

Status PaneScreenSource::checkRow(long section, long row) {
    UITableView* table = host_->visibleTable();
    if (!table) {
        return Status::failure("the page shows no table");
    }
    const std::vector<LoadedTableSection>& sections = table->snapshot();
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
    // Rows offer their delete control while the table is editing, or by a swipe.
    if (!host_->visibleTable()->offersDeleteForRowAtIndexPath(
            NSIndexPath::indexPathForRow(row, section))) {
        return Status::failure("the row offers no delete");
    }
    return host_->commitDelete(section, row) ? Status::success()
                                             : Status::failure("the row cannot be deleted");
}

Status PaneScreenSource::longPress(const json& event) {
    CGPoint point = EventShape::pointOf(event.at("point"));
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

// The page shown refreshes on the main queue; running it now puts the values back on the
// screen this event answers with.
Status PaneScreenSource::takeStep(HBUndoHistory::Direction direction) {
    if (!HBUndoHistory::shared().title(direction)) {
        return Status::failure(direction == HBUndoHistory::Direction::Undo ? "nothing to undo"
                                                                           : "nothing to redo");
    }
    if (!HBUndoPrompt::take(direction)) {
        return Status::failure("the step could not be taken");
    }
    RunLoop::main().runUntilIdle();
    return Status::success();
}

Status PaneScreenSource::appearance(const json& event) {
    std::string value = event.at("value").get<std::string>();
    if (value != "light" && value != "dark") {
        return Status::failure("appearance is light or dark");
    }
    // The platform tells every view and page of the key window, which recolour themselves.
    UITraitCollection::setCurrentUserInterfaceStyle(styleNamed(value));
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
    const ViewInput* input = ViewInputs::of(*view);
    if (!input || !input->control) {
        return Status::failure("view " + identifier + " takes no touches");
    }
    return input->control(*view, name, event);
}

// The page scrolled a table: the table keeps the offset (within what it can reach), so that
// going back to its page shows it where the user left it.
Status PaneScreenSource::scroll(const json& event) {
    std::string identifier = event.at("id").get<std::string>();
    double offset = event.at("offset").get<double>();
    std::shared_ptr<UIView> view = visibleView(identifier);
    // The page reports where the user left a view, also after a tap took it off the screen:
    // a view gone keeps nothing, so that report changes nothing.
    if (!view) {
        return Status::success();
    }
    auto* scrolled = dynamic_cast<UIScrollView*>(view.get());
    if (!scrolled) {
        return Status::failure("view " + identifier + " does not scroll");
    }
    scrolled->userScrolledTo(CGPointMake(scrolled->contentOffset().x, offset));
    return Status::success();
}

Status PaneScreenSource::text(const json& event) {
    std::string identifier = event.at("id").get<std::string>();
    std::string typed = event.at("text").get<std::string>();
    bool end = event.value("end", false);
    std::shared_ptr<UIView> view = visibleView(identifier);
    const ViewInput* input = view ? ViewInputs::of(*view) : nullptr;
    if (!input || !input->text) {
        return Status::failure("no text field " + identifier + " on the screen");
    }
    return input->text(*view, typed, end);
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
