#pragma once

#include "filters/HBFilterListController.h"

// The message filter list: "filtersEnabled" and "filtersDisabled", with alert sound images.
class HBFilterController : public HBFilterListController {
  public:
    HBFilterController() : HBFilterListController(HBFilterKind::messages()) {}
    std::string className() const override { return "HBFilterController"; }

  protected:
    PSViewControllerPtr makeEditor(long row) override;
};
