#pragma once

#include "filters/HBFilterListController.h"

// The list of one folder filter set: type 0 is the first set, any other type the second.
class HBFilterFolderController : public HBFilterListController {
  public:
    explicit HBFilterFolderController(long type)
        : HBFilterListController(HBFilterKind::folders(type)), _type(type) {}
    std::string className() const override { return "HBFilterFolderController"; }

    long type() const { return _type; }

  protected:
    PSViewControllerPtr makeEditor(long row) override;

  private:
    long _type;
};
