#include "filters/HBFilterSounds.h"

#include "kit/HBPalette.h"
#include "platform/prefs/PSClasses.h"
#include "platform/system/TLToneManager.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UILabel.h"

namespace {

const bool kHBFilterSoundsRegistered = PSControllerClasses::registerClass(
    "HBFilterSounds", [] { return std::make_shared<HBFilterSounds>(); });

// The preview playing, shared by every picker page.
struct Preview {
    SystemSoundID soundID = 0;
    bool playing = false;
};

Preview& preview() {
    static Preview shared;
    return shared;
}

}  // namespace

bool HBFilterSounds::isPreviewPlaying() {
    return preview().playing;
}

SystemSoundID HBFilterSounds::previewSoundID() {
    return preview().soundID;
}

void HBFilterSounds::stopPreview() {
    Preview& current = preview();
    if (!current.playing) {
        return;
    }
    AudioServicesRemoveSystemSoundCompletion(current.soundID);
    AudioServicesDisposeSystemSoundID(current.soundID);
    current.playing = false;
}

// A choice the tone library has no file for ("Default", "Silent") plays nothing.
void HBFilterSounds::startPreview(const PlistValue& value) {
    std::shared_ptr<TLToneManager> tones = TLToneManager::sharedToneManager();
    const std::string* identifier = value.stringValue();
    std::optional<std::string> path =
        tones && identifier ? tones->filePathForToneIdentifier(*identifier) : std::nullopt;
    SystemSoundID soundID = 0;
    if (!path || AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(*path), &soundID) !=
                     kAudioServicesNoError) {
        return;
    }
    AudioServicesAddSystemSoundCompletion(soundID, [](SystemSoundID ended) {
        AudioServicesRemoveSystemSoundCompletion(ended);
        AudioServicesDisposeSystemSoundID(ended);
        if (preview().soundID == ended) {
            preview().playing = false;
        }
    });
    AudioServicesPlayAlertSound(soundID);
    preview() = {soundID, true};
}

void HBFilterSounds::viewWillDisappear(bool animated) {
    stopPreview();
    PSListItemsController::viewWillDisappear(animated);
}

std::string HBFilterSounds::headerTitle(long row) const {
    const PlistValue::Array* indexes =
        specifier() ? specifier()->propertyForKey("indexes").arrayValue() : nullptr;
    if (row == 0) {
        return "INSTALLED TONES";
    }
    if (!indexes || indexes->size() < 2) {
        return "";
    }
    long alert = (*indexes)[0].integerValue();
    if (row == alert) {
        return "ALERT TONES";
    }
    return row == alert + (*indexes)[1].integerValue() ? "RINGTONES" : "";
}

UITableViewCellPtr HBFilterSounds::cellForRowAtIndexPath(UITableView* tableView,
                                                         const NSIndexPath& indexPath) {
    UITableViewCellPtr cell = PSListItemsController::cellForRowAtIndexPath(tableView, indexPath);
    std::string header = isChoiceRow(indexPath) ? headerTitle(indexPath.row()) : "";
    if (!header.empty()) {
        fillHeader(*cell, indexPath.row(), header);
    } else {
        cell->setBackgroundColor(HBPalette::current().background);
    }
    cell->setLayoutMargins({0, 45, 0, 0});
    return cell;
}

void HBFilterSounds::fillHeader(UITableViewCell& cell, long row, const std::string& title) const {
    cell.setBackgroundColor(UIColor::clearColor());
    cell.setSelectionStyle(UITableViewCellSelectionStyleNone);
    cell.setUserInteractionEnabled(false);
    UIView& content = *cell.contentView();
    auto* label = dynamic_cast<UILabel*>(content.viewWithTag(row + kHeaderLabelTag));
    if (!label) {
        CGSize size = content.frame().size;
        auto made = std::make_shared<UILabel>(CGRectMake(15, 33.5, size.width, size.height - 30));
        made->setTag(row + kHeaderLabelTag);
        made->setAdjustsFontSizeToFitWidth(true);
        made->setBackgroundColor(UIColor::clearColor());
        made->setTextColor(UIColor::colorWithRed(109 / 255.0, 109 / 255.0, 109 / 255.0, 1));
        made->setFont(UIFont::systemFontOfSize(13));
        content.addSubview(made);
        label = made.get();
    }
    label->setText(title);
}

double HBFilterSounds::heightForRowAtIndexPath(UITableView*, const NSIndexPath& indexPath) {
    return isChoiceRow(indexPath) && !headerTitle(indexPath.row()).empty() ? kHeaderHeight
                                                                           : kRowHeight;
}

// The choice is found by the tapped cell's title, the last value of that title winning.
// Headers are not choices, so a tap that reaches one stores nothing.
void HBFilterSounds::didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) {
    if (!isChoiceRow(indexPath) || !headerTitle(indexPath.row()).empty()) {
        tableView->deselectRowAtIndexPath(indexPath, true);
        return;
    }
    stopPreview();
    UITableViewCellPtr cell = tableView->cellForRowAtIndexPath(indexPath);
    std::string title = cell ? cell->textLabel()->text() : "";
    PlistValue value;
    for (const auto& [choice, choiceTitle] : specifier()->titleDictionary()) {
        if (choiceTitle == title) {
            value = choice;
        }
    }
    if (!value.isAbsent()) {
        startPreview(value);
    }
    PSListItemsController::didSelectRowAtIndexPath(tableView, indexPath);
}
