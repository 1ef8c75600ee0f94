#pragma once

#include <string>

#include "pages/HBOptionsController.h"

// The options of one of the two folder filter sets: 0 for the first, 1 for the second. One
// description serves both; every row's key gets the set's suffix ("1" or "2"), so a row keyed
// X edits X1 on the first set's page and X2 on the second's. Row 1 opens the set's filters.
class HBOptionsFiltersFolders : public HBOptionsController {
  public:
    explicit HBOptionsFiltersFolders(long type);

    long type() const { return _type; }
    const std::string& keySuffix() const { return key1; }

    void didSelectRowAtIndexPath(UITableView* tableView, const NSIndexPath& indexPath) override;

  protected:
    void adjustSpecifiers(std::vector<PSSpecifierPtr>& rows) override;

  private:
    void addSuffixToKeys(std::vector<PSSpecifierPtr>& rows) const;

    long _type;
    std::string key1;
};
