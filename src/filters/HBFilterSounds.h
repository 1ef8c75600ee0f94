#pragma once

#include "platform/prefs/PSListItemsController.h"
#include "platform/system/AudioServices.h"

// The alert sound picker: the choices of the editor's sound row under three grey headers,
// with a preview of each tone as it is tapped. One preview plays at a time in the whole
// pane: a tap stops the one playing before it starts the next, and leaving the page stops it.
class HBFilterSounds : public PSListItemsController {
  public:
    static constexpr long kHeaderLabelTag = 26425;
    static constexpr double kHeaderHeight = 55.5;
    static constexpr double kRowHeight = 44;

    HBFilterSounds() = default;
    std::string className() const override { return "HBFilterSounds"; }

    void viewWillDisappear(bool animated) override;
    UITableViewCellPtr cellForRowAtIndexPath(UITableView* tableView,
                                             const NSIndexPath& indexPath) override;
    double heightForRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;
    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

    // The header text of a row; empty for a choice.
    std::string headerTitle(long row) const;
    static bool isPreviewPlaying();
    static SystemSoundID previewSoundID();
    static void stopPreview();

  private:
    void fillHeader(UITableViewCell& cell, long row, const std::string& title) const;
    static void startPreview(const PlistValue& value);
};
