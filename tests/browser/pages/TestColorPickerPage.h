#pragma once

#include <memory>
#include <string>

#include "color/HBColorPickerView.h"
#include "platform/prefs/PSViewController.h"
#include "platform/ui/UILabel.h"

// A page for the browser test only: one colour picker on its own at the colour cell's size,
// over two lines that show the last colour it reported ("Changed #RRGGBB") and the last it
// asked to save ("Saved #RRGGBB"). Registered as "TestColorPickerPage_H", "_S" and "_B", one
// per picker kind; each starts on #3366CC.
class TestColorPickerPage : public PSViewController {
  public:
    enum class Kind { H, S, B };

    explicit TestColorPickerPage(Kind kind);
    std::string className() const override;

    void loadView() override;
    // Places the picker and its lines below the bars, as a page laid out in its safe area.
    void viewWillAppear(bool animated) override;

  private:
    HBColorPickerViewPtr makePicker();

    Kind _kind;
    std::shared_ptr<UILabel> _changedLabel;
    std::shared_ptr<UILabel> _savedLabel;
    std::shared_ptr<UIView> _content;
};
