#include "platform/system/MailAccount.h"

#include "platform/foundation/PropertyList.h"
#include "platform/system/DeviceRoot.h"
#include "platform/system/LocalAccount.h"

MailAccount::MailAccount(std::string displayName, std::string mailboxUniqueId,
                         std::string uniqueIdForPersistentConnection)
    : displayName_(std::move(displayName)),
      primaryMailboxUid_(std::make_shared<MailboxUid>(std::move(mailboxUniqueId))),
      uniqueIdForPersistentConnection_(std::move(uniqueIdForPersistentConnection)) {}

bool MailAccount::lookupClass() {
    return readAccounts().ok();
}

MailAccount::List MailAccount::activeAccounts() {
    Result<List> accounts = readAccounts();
    return accounts ? std::move(accounts).value() : List();
}

Result<MailAccount::List> MailAccount::readAccounts() {
    Result<PlistValue> list = PropertyList::readFile(DeviceRoot::resolve(kAccountsPath));
    if (!list) {
        return Result<List>::failure(list.error());
    }
    return accountsFromPropertyList(list.value());
}

Result<MailAccount::List> MailAccount::accountsFromPropertyList(const PlistValue& list) {
    if (!list.isArray()) {
        return Result<List>::failure("the account list is not an array");
    }
    List accounts;
    for (const PlistValue& entry : *list.arrayValue()) {
        if (std::shared_ptr<MailAccount> account = accountFromEntry(entry)) {
            accounts.push_back(std::move(account));
        }
    }
    return accounts;
}

// An account without a name could be neither shown nor keyed, so it is left out.
std::shared_ptr<MailAccount> MailAccount::accountFromEntry(const PlistValue& entry) {
    if (!entry.isDictionary() || !entry["displayName"].isString()) {
        return nullptr;
    }
    std::string name = entry["displayName"].stringOr("");
    std::string mailbox = entry["primaryMailboxUniqueId"].stringOr("");
    std::string connection = entry["uniqueIdForPersistentConnection"].stringOr("");
    if (entry["local"].boolValue()) {
        return std::make_shared<LocalAccount>(std::move(name), std::move(mailbox),
                                              std::move(connection));
    }
    return std::make_shared<MailAccount>(std::move(name), std::move(mailbox),
                                         std::move(connection));
}
