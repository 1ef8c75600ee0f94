#include "platform/system/AudioServices.h"

#include "platform/system/SystemSoundServices.h"

OSStatus AudioServicesCreateSystemSoundID(const NSURL& fileURL, SystemSoundID* outSoundID) {
    return SystemSoundServices::shared().createSound(fileURL, outSoundID);
}

OSStatus AudioServicesCreateSystemSoundID(const std::optional<NSURL>& fileURL,
                                          SystemSoundID* outSoundID) {
    if (!fileURL) {
        *outSoundID = 0;
        return kAudioServicesSystemSoundUnspecifiedError;
    }
    return AudioServicesCreateSystemSoundID(*fileURL, outSoundID);
}

OSStatus AudioServicesAddSystemSoundCompletion(SystemSoundID soundID,
                                               AudioServicesSystemSoundCompletion completion) {
    return SystemSoundServices::shared().setCompletion(soundID, std::move(completion));
}

void AudioServicesRemoveSystemSoundCompletion(SystemSoundID soundID) {
    SystemSoundServices::shared().removeCompletion(soundID);
}

void AudioServicesPlayAlertSound(SystemSoundID soundID) {
    SystemSoundServices::shared().play(soundID);
}

OSStatus AudioServicesDisposeSystemSoundID(SystemSoundID soundID) {
    return SystemSoundServices::shared().dispose(soundID);
}
