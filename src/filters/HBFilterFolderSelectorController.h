#pragma once

#include "filters/HBFilterEditorController.h"

// The editor of one folder filter of a set: name, folder name and path patterns, the level
// text, their match types and the colour.
class HBFilterFolderSelectorController : public HBFilterEditorController {
  public:
    HBFilterFolderSelectorController(long row, long type)
        : HBFilterEditorController(HBFilterKind::folders(type), row), _type(type) {}
    std::string className() const override { return "HBFilterFolderSelectorController"; }

    long type() const { return _type; }

  private:
    long _type;
};
