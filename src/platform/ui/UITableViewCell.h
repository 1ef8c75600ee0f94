#pragma once

#include <memory>
#include <string>

#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

enum UITableViewCellStyle : long {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

enum UITableViewCellAccessoryType : long {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
    UITableViewCellAccessoryDetailButton = 4,
};

enum UITableViewCellSelectionStyle : long {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
    UITableViewCellSelectionStyleDefault = 3,
};

enum UITableViewCellEditingStyle : long {
    UITableViewCellEditingStyleNone = 0,
    UITableViewCellEditingStyleDelete = 1,
    UITableViewCellEditingStyleInsert = 2,
};

// One row of a table: a content view holding an image and one or two labels placed by the
// cell's style, an accessory at the right end, and the selection and editing state the table
// gives it. Both labels exist in every style, so that setting one the style does not show is
// harmless; the default style shows no detail label.
class UITableViewCell : public UIView {
  public:
    UITableViewCell(UITableViewCellStyle style, std::string reuseIdentifier);
    std::string className() const override { return "UITableViewCell"; }

    UITableViewCellStyle style() const { return style_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    // Called when the table hands the cell out again; resets the selection and editing state.
    virtual void prepareForReuse();
    // Takes the appearance's default colours again; the data source that fills the cell
    // colours it after that.
    void traitCollectionDidChange(const UITraitCollection& previous) override;

    const std::shared_ptr<UIView>& contentView() const { return contentView_; }
    const UILabelPtr& textLabel() const { return textLabel_; }
    const UILabelPtr& detailTextLabel() const { return detailTextLabel_; }
    const UIImageViewPtr& imageView() const { return imageView_; }
    // Whether the style shows the detail label at all.
    bool showsDetailTextLabel() const { return style_ != UITableViewCellStyleDefault; }

    UITableViewCellAccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(UITableViewCellAccessoryType type);
    // A custom accessory replaces the standard one while set.
    const UIViewPtr& accessoryView() const { return accessoryView_; }
    void setAccessoryView(UIViewPtr view);

    UITableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(UITableViewCellSelectionStyle style) { selectionStyle_ = style; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted, bool animated = false);

    UIEdgeInsets layoutMargins() const { return layoutMargins_; }
    void setLayoutMargins(UIEdgeInsets margins);
    UIEdgeInsets separatorInset() const { return separatorInset_; }
    void setSeparatorInset(UIEdgeInsets inset) { separatorInset_ = inset; }

    // The editing state as the table knows it for this row.
    bool isEditing() const { return editing_; }
    UITableViewCellEditingStyle editingStyle() const { return editingStyle_; }
    bool showsReorderControl() const { return showsReorderControl_; }
    void setShowsReorderControl(bool shows) { showsReorderControl_ = shows; }
    bool shouldIndentWhileEditing() const { return shouldIndentWhileEditing_; }
    // Set by the table when it loads the row and when its editing mode changes.
    void applyEditingState(bool editing, UITableViewCellEditingStyle style, bool movable,
                           bool indent);

    void layoutSubviews() override;
    void setFrame(CGRect frame) override;

  private:
    void applyAppearanceColors();
    void placeLabels(double left, double right);
    double accessoryWidth() const;

    UITableViewCellStyle style_;
    std::string reuseIdentifier_;
    std::shared_ptr<UIView> contentView_;
    UILabelPtr textLabel_;
    UILabelPtr detailTextLabel_;
    UIImageViewPtr imageView_;
    UITableViewCellAccessoryType accessoryType_ = UITableViewCellAccessoryNone;
    UIViewPtr accessoryView_;
    UITableViewCellSelectionStyle selectionStyle_ = UITableViewCellSelectionStyleDefault;
    bool selected_ = false;
    bool highlighted_ = false;
    UIEdgeInsets layoutMargins_{0, 16, 0, 16};
    UIEdgeInsets separatorInset_{0, 16, 0, 0};
    bool editing_ = false;
    UITableViewCellEditingStyle editingStyle_ = UITableViewCellEditingStyleNone;
    bool showsReorderControl_ = false;
    bool shouldIndentWhileEditing_ = true;
};

using UITableViewCellPtr = std::shared_ptr<UITableViewCell>;
