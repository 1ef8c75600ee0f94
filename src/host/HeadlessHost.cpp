#include "host/HeadlessHost.h"

#include <fmt/format.h>

#include <cmath>

#include "platform/dispatch/RunLoop.h"
#include "platform/prefs/PSClasses.h"
#include "platform/prefs/PSViewController.h"
#include "platform/ui/ColorText.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"

namespace {

UITableView* findTable(UIView* view) {
    if (!view) {
        return nullptr;
    }
    if (auto* table = dynamic_cast<UITableView*>(view)) {
        return table;
    }
    for (const UIViewPtr& subview : view->subviews()) {
        if (UITableView* table = findTable(subview.get())) {
            return table;
        }
    }
    return nullptr;
}

template <typename T>
T* findSubview(UIView* view) {
    if (!view) {
        return nullptr;
    }
    if (auto* found = dynamic_cast<T*>(view)) {
        return found;
    }
    for (const UIViewPtr& subview : view->subviews()) {
        if (T* found = findSubview<T>(subview.get())) {
            return found;
        }
    }
    return nullptr;
}

std::string accessoryText(const UITableViewCell& cell) {
    if (auto* control = dynamic_cast<UISwitch*>(cell.accessoryView().get())) {
        return control->isOn() ? "switch on" : "switch off";
    }
    if (auto* field = findSubview<UITextField>(cell.contentView().get())) {
        return fmt::format("field \"{}\"", field->text());
    }
    if (auto* slider = findSubview<UISlider>(cell.contentView().get())) {
        return fmt::format("slider {}", slider->value());
    }
    switch (cell.accessoryType()) {
        case UITableViewCellAccessoryDisclosureIndicator:
            return "disclosure";
        case UITableViewCellAccessoryCheckmark:
            return "checkmark";
        case UITableViewCellAccessoryDetailButton:
        case UITableViewCellAccessoryDetailDisclosureButton:
            return "detail";
        default:
            return "";
    }
}

UIControl* controlAt(UIView* root, CGPoint point) {
    for (UIView* view = root->hitTest(point); view; view = view->superview()) {
        if (auto* control = dynamic_cast<UIControl*>(view)) {
            return control;
        }
    }
    return nullptr;
}

}  // namespace

HeadlessHost::HeadlessHost(std::shared_ptr<UIViewController> page)
    : navigation_(std::make_shared<UINavigationController>(page)),
      window_(std::make_shared<UIWindow>(UIScreen::mainScreen().bounds())) {
    if (auto* settingsPage = dynamic_cast<PSViewController*>(page.get())) {
        settingsPage->setRootController(navigation_.get());
    }
    window_->setRootViewController(navigation_);
    window_->makeKeyAndVisible();
}

HeadlessHost::~HeadlessHost() {
    if (UIApplication::sharedApplication().keyWindow() == window_) {
        UIApplication::sharedApplication().setKeyWindow(nullptr);
    }
}

std::unique_ptr<HeadlessHost> HeadlessHost::startWithPageNamed(std::string_view className) {
    std::shared_ptr<PSViewController> page = PSControllerClasses::create(className);
    return page ? std::make_unique<HeadlessHost>(page) : nullptr;
}

UITableView* HeadlessHost::visibleTable() const {
    UIViewController* top = topPage();
    return top ? findTable(top->view().get()) : nullptr;
}

HeadlessHost::Row HeadlessHost::describeRow(const LoadedTableRow& row) {
    const UITableViewCell& cell = *row.cell;
    Row shown;
    shown.text = cell.textLabel()->text();
    shown.detail = cell.showsDetailTextLabel() && !cell.detailTextLabel()->isHidden()
                       ? cell.detailTextLabel()->text()
                       : "";
    shown.accessory = accessoryText(cell);
    if (cell.backgroundColor()) {
        shown.background = describeColor(*cell.backgroundColor());
    }
    shown.textColor = describeColor(cell.textLabel()->textColor());
    shown.enabled = cell.isUserInteractionEnabled() && cell.textLabel()->isEnabled();
    shown.height = row.height;
    return shown;
}

std::vector<HeadlessHost::Section> HeadlessHost::visibleSections() {
    std::vector<Section> result;
    UITableView* table = visibleTable();
    if (!table) {
        return result;
    }
    // The table makes cells near its visible bounds only: rows further down are scrolled to,
    // as a reader would, and the table is put back where it was.
    CGPoint offset = table->contentOffset();
    bool scrolled = false;
    for (std::size_t section = 0; section < table->snapshot().size(); ++section) {
        const LoadedTableSection& loaded = table->snapshot()[section];
        Section shown{loaded.headerTitle, loaded.footerTitle, {}};
        for (std::size_t row = 0; row < loaded.rows.size(); ++row) {
            if (!loaded.rows[row].cell) {
                scrolled = true;
                table->scrollToRowAtIndexPath(
                    NSIndexPath::indexPathForRow(long(row), long(section)),
                    UITableViewScrollPositionTop, false);
            }
            shown.rows.push_back(describeRow(table->snapshot()[section].rows[row]));
        }
        result.push_back(std::move(shown));
    }
    if (scrolled) {
        table->setContentOffset(offset);
    }
    return result;
}

UITableViewCellPtr HeadlessHost::cellAt(long section, long row) {
    UITableView* table = visibleTable();
    if (!table) {
        return nullptr;
    }
    NSIndexPath path = NSIndexPath::indexPathForRow(row, section);
    if (!table->cellForRowAtIndexPath(path)) {
        table->scrollToRowAtIndexPath(path, UITableViewScrollPositionNone, false);
    }
    return table->cellForRowAtIndexPath(path);
}

bool HeadlessHost::tapRow(long section, long row) {
    UITableView* table = visibleTable();
    return table && table->userTappedRow(NSIndexPath::indexPathForRow(row, section));
}

bool HeadlessHost::dragRow(NSIndexPath from, NSIndexPath to) {
    UITableView* table = visibleTable();
    return table && table->userMovedRow(from, to);
}

bool HeadlessHost::commitDelete(long section, long row) {
    UITableView* table = visibleTable();
    return table && table->userCommittedDelete(NSIndexPath::indexPathForRow(row, section));
}

bool HeadlessHost::longPress(CGPoint point) {
    UIView* root = topPage() ? topPage()->view().get() : nullptr;
    if (!root) {
        return false;
    }
    for (UIView* view = root->hitTest(point); view; view = view->superview()) {
        for (const auto& recognizer : view->gestureRecognizers()) {
            if (auto* press = dynamic_cast<UILongPressGestureRecognizer*>(recognizer.get())) {
                return press->userLongPressed(view->convertPointFromView(point, root));
            }
        }
        if (view == root) {
            break;
        }
    }
    return false;
}

bool HeadlessHost::touch(const std::vector<CGPoint>& points) {
    UIView* root = topPage() ? topPage()->view().get() : nullptr;
    UIControl* control = root && !points.empty() ? controlAt(root, points.front()) : nullptr;
    if (!control) {
        return false;
    }
    auto local = [&](CGPoint point) { return control->convertPointFromView(point, root); };
    if (!control->userTouchDown(local(points.front()))) {
        return false;
    }
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        control->userTouchMoved(local(points[i]));
    }
    control->userTouchUp(local(points.back()));
    return true;
}

UIAlertController* HeadlessHost::presentedAlert() const {
    // Pages present on themselves, cells on the window's root: look over both.
    for (UIViewController* presenter :
         {static_cast<UIViewController*>(navigation_.get()), topPage()}) {
        for (UIViewController* shown = presenter; shown;
             shown = shown->presentedViewController().get()) {
            if (auto* alert = dynamic_cast<UIAlertController*>(shown)) {
                return alert;
            }
        }
    }
    return nullptr;
}

bool HeadlessHost::typeIntoAlert(std::size_t field, std::string text) {
    UIAlertController* alert = presentedAlert();
    if (!alert || field >= alert->textFields().size()) {
        return false;
    }
    return alert->textFields()[field]->userTyped(std::move(text));
}

bool HeadlessHost::pressAlertAction(std::string_view title) {
    UIAlertController* alert = presentedAlert();
    return alert && alert->userTappedActionTitled(std::string(title));
}

bool HeadlessHost::goBack() {
    return navigation_->popViewControllerAnimated(true) != nullptr;
}

void HeadlessHost::advanceClock(double seconds) {
    RunLoop::main().advanceBy(seconds);
}

std::string HeadlessHost::describeColor(const UIColor& color) {
    return ColorText::format(color);
}

std::string HeadlessHost::dump() {
    UIViewController* top = topPage();
    std::string out =
        fmt::format("page {} \"{}\"\n", top ? top->className() : "none", top ? top->title() : "");
    std::vector<Section> sections = visibleSections();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        out += fmt::format("section {}", s);
        if (sections[s].header) {
            out += fmt::format(" \"{}\"", *sections[s].header);
        }
        out += "\n";
        for (const Row& row : sections[s].rows) {
            out += fmt::format("  \"{}\"", row.text);
            if (!row.detail.empty()) {
                out += fmt::format(" [{}]", row.detail);
            }
            if (!row.accessory.empty()) {
                out += fmt::format(" <{}>", row.accessory);
            }
            if (row.background) {
                out += fmt::format(" on {}", *row.background);
            }
            out += fmt::format(" text {} h{}{}\n", row.textColor, row.height,
                               row.enabled ? "" : " disabled");
        }
        if (sections[s].footer) {
            out += fmt::format("  footer \"{}\"\n", *sections[s].footer);
        }
    }
    return out;
}
