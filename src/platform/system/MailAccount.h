#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"

// The identity of an account's primary mailbox.
class MailboxUid {
  public:
    explicit MailboxUid(std::string uniqueId) : uniqueId_(std::move(uniqueId)) {}
    const std::string& uniqueId() const { return uniqueId_; }

  private:
    std::string uniqueId_;
};

// One of the Mail app's accounts. The Mail app's classes exist only where Mail is installed,
// so callers look them up first; here they exist when the device holds a readable account
// list at kAccountsPath: an array of dictionaries with "displayName",
// "primaryMailboxUniqueId", "uniqueIdForPersistentConnection" and "local" (a boolean that
// makes the entry a LocalAccount).
class MailAccount {
  public:
    using List = std::vector<std::shared_ptr<MailAccount>>;
    static constexpr std::string_view kAccountsPath = "/var/mobile/Library/Mail/Accounts.plist";

    // True when the class is present on the device.
    static bool lookupClass();
    // The accounts in the list's order; empty when the class is absent.
    static List activeAccounts();
    // The accounts of an account list. Entries that are not dictionaries or have no display
    // name are left out; fails when the list is not an array.
    static Result<List> accountsFromPropertyList(const PlistValue& list);

    MailAccount(std::string displayName, std::string mailboxUniqueId,
                std::string uniqueIdForPersistentConnection);
    virtual ~MailAccount() = default;

    const std::string& displayName() const { return displayName_; }
    std::shared_ptr<const MailboxUid> primaryMailboxUid() const { return primaryMailboxUid_; }
    const std::string& uniqueIdForPersistentConnection() const {
        return uniqueIdForPersistentConnection_;
    }
    virtual bool isLocalAccount() const { return false; }

  private:
    static Result<List> readAccounts();
    static std::shared_ptr<MailAccount> accountFromEntry(const PlistValue& entry);

    std::string displayName_;
    std::shared_ptr<const MailboxUid> primaryMailboxUid_;
    std::string uniqueIdForPersistentConnection_;
};
