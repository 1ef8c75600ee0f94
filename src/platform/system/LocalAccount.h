#pragma once

#include "platform/system/MailAccount.h"

// An account kept on the device only ("On My iPhone"), not on a server.
class LocalAccount : public MailAccount {
  public:
    using MailAccount::MailAccount;

    // Present exactly when MailAccount is.
    static bool lookupClass();
    bool isLocalAccount() const override { return true; }
};
