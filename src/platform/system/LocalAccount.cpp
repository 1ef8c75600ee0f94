#include "platform/system/LocalAccount.h"

bool LocalAccount::lookupClass() {
    return MailAccount::lookupClass();
}
