#pragma once

#include "filters/HBFilterEditorController.h"

// The message filter editor: name, From, To, Cc and Subject with their match types, the
// alert sound (its choices from the tone catalogue) and the colour, plus help on patterns.
class HBFilterSelectorController : public HBFilterEditorController {
  public:
    static constexpr const char* kAlertSoundID = "HBAlertSound";

    explicit HBFilterSelectorController(long row)
        : HBFilterEditorController(HBFilterKind::messages(), row) {}
    std::string className() const override { return "HBFilterSelectorController"; }

    // Opens the maker's page on the regular expressions patterns use.
    void openFAQ();

  protected:
    void appendRows(std::vector<PSSpecifierPtr>& rows) override;
};
