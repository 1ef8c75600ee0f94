#pragma once

#include <string>

#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

// The view a table shows for a section title: a label the table's delegate may restyle when
// the view is about to show.
class UITableViewHeaderFooterView : public UIView {
  public:
    explicit UITableViewHeaderFooterView(std::string reuseIdentifier = "");
    std::string className() const override { return "UITableViewHeaderFooterView"; }

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    const std::shared_ptr<UIView>& contentView() const { return contentView_; }
    const UILabelPtr& textLabel() const { return textLabel_; }

    void setFrame(CGRect frame) override;
    void traitCollectionDidChange(const UITraitCollection& previous) override;

  private:
    void applyAppearanceColors();

    std::string reuseIdentifier_;
    std::shared_ptr<UIView> contentView_;
    UILabelPtr textLabel_;
};
