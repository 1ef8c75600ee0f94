#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/NSObjCRuntime.h"

// Case-insensitive ascending order of two account names; the context is ignored. Both the
// root page and the enabled accounts page list accounts in this order.
NSComparisonResult sortAccounts(const std::string& a, const std::string& b, void* context);

// The Mail app's accounts as the pages list them: local accounts skipped, equal display
// names collapsed to the last one, sorted with sortAccounts. Each entry pairs the display
// name with the ID the page asks for.
class HBAccounts {
  public:
    enum class Identifier { PrimaryMailbox, PersistentConnection };
    using Entry = std::pair<std::string, std::string>;

    static std::vector<Entry> sortedAccounts(Identifier identifier);
    // The name a row shows: without its first 8 characters when it begins with "f4edcb52".
    static std::string shownName(const std::string& displayName);
};
