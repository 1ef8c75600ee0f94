#include "platform/system/TLITunesTone.h"

#include "platform/system/TLToneManager.h"

bool TLITunesTone::lookupClass() {
    return TLToneManager::lookupClass();
}
