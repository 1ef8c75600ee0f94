#include "pages/HBAccounts.h"

#include <algorithm>
#include <map>

#include "platform/foundation/NSString.h"
#include "platform/system/MailAccount.h"

namespace {

constexpr std::string_view kHiddenPrefix = "f4edcb52";

}  // namespace

NSComparisonResult sortAccounts(const std::string& a, const std::string& b, void*) {
    return NSString::caseInsensitiveCompare(a, b);
}

std::vector<HBAccounts::Entry> HBAccounts::sortedAccounts(Identifier identifier) {
    // An absent account class gives no accounts; asking for its presence first would read
    // the account list twice.
    std::map<std::string, std::string> table;
    for (const auto& account : MailAccount::activeAccounts()) {
        if (account->isLocalAccount()) {
            continue;
        }
        table[account->displayName()] = identifier == Identifier::PrimaryMailbox
                                            ? account->primaryMailboxUid()->uniqueId()
                                            : account->uniqueIdForPersistentConnection();
    }
    std::vector<Entry> entries(table.begin(), table.end());
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return sortAccounts(a.first, b.first, nullptr) == NSOrderedAscending;
    });
    return entries;
}

std::string HBAccounts::shownName(const std::string& displayName) {
    return NSString::hasPrefix(displayName, kHiddenPrefix)
               ? displayName.substr(kHiddenPrefix.size())
               : displayName;
}
