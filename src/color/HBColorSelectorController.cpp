#include "color/HBColorSelectorController.h"

#include <limits>

#include "kit/HBPalette.h"
#include "platform/prefs/PSClasses.h"
#include "platform/ui/NSMutableAttributedString.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITextView.h"
#include "store/HBPreferences.h"

namespace {

const bool kHBColorSelectorControllerRegistered = PSControllerClasses::registerClass(
    "HBColorSelectorController", [] { return std::make_shared<HBColorSelectorController>(); });

NSAttributedString footerText(const HBPalette& palette) {
    NSMutableParagraphStyle paragraph;
    paragraph.setParagraphSpacing(1);
    paragraph.setParagraphSpacingBefore(0);
    paragraph.setFirstLineHeadIndent(0);
    // Wrapped lines line up after the bullet.
    paragraph.setHeadIndent(14);
    NSTextAttributes attributes;
    attributes.font = UIFont::systemFontOfSize(16);
    attributes.paragraphStyle = paragraph;
    attributes.foregroundColor = palette.secondaryText;
    return NSAttributedString(HBColorSelectorController::kFooterText, attributes);
}

}  // namespace

std::string HBColorSelectorController::openingTitle() const {
    const std::string* title =
        specifier() ? specifier()->propertyForKey("title").stringValue() : nullptr;
    return title ? *title : std::string();
}

const std::vector<PSSpecifierPtr>& HBColorSelectorController::specifiers() {
    if (!_specifiers) {
        std::vector<PSSpecifierPtr> rows = loadSpecifiersFromPlistName("HBColorSelector", this);
        std::string title = openingTitle();
        if (!rows.empty()) {
            const HBPreferences& store = HBPreferences::sharedInstance();
            rows.front()->setProperty(PlistValue(title), "key");
            rows.front()->setProperty(
                PlistValue::boolean(store.boolForKey("preferColorPicker", true)),
                "preferColorPicker");
        }
        setTitle(title);
        _specifiers = std::move(rows);
    }
    return *_specifiers;
}

void HBColorSelectorController::viewDidLoad() {
    addFooter();
    HuebadgePSListController::viewDidLoad();
}

void HBColorSelectorController::traitCollectionDidChange(const UITraitCollection& previous) {
    HuebadgePSListController::traitCollectionDidChange(previous);
    if (isViewLoaded()) {
        addFooter();
    }
}

void HBColorSelectorController::addFooter() {
    auto footer = std::make_shared<UITextView>();
    footer->setEditable(false);
    footer->setScrollEnabled(false);
    footer->setTag(kFooterTag);
    footer->setClipsToBounds(true);
    footer->setTextAlignment(NSTextAlignmentLeft);
    footer->setBackgroundColor(UIColor::clearColor());
    footer->setTranslatesAutoresizingMaskIntoConstraints(false);
    footer->setTextContainerInset(UIEdgeInsets{5, 5, 5, 5});
    footer->setContentInset(UIEdgeInsets{0, 0, 0, 0});
    footer->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    footer->setAttributedText(footerText(HBPalette::current()));
    double width = UIScreen::mainScreen().bounds().size.width;
    CGSize needed = footer->sizeThatFits(CGSizeMake(width, std::numeric_limits<double>::max()));
    footer->setFrame(CGRectMake(0, 0, width, needed.height));
    if (UITableView* tableView = table()) {
        tableView->setTableFooterView(footer);
    }
}

PlistValue HBColorSelectorController::readPreferenceValue(const PSSpecifierPtr&) {
    return PlistValue();
}

void HBColorSelectorController::setPreferenceValue(const PlistValue&, const PSSpecifierPtr&) {}

double HBColorSelectorController::heightForRowAtIndexPath(UITableView*, const NSIndexPath&) {
    return kRowHeight;
}
