#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/foundation/NSURL.h"

// The system sound services: short sounds made from files, played once, with a call when a
// play ends. No audio is produced here; SystemSoundServices keeps the sounds and a log of
// what was played, and ends each play after the sound's length on the main run loop.

using SystemSoundID = std::uint32_t;
using OSStatus = std::int32_t;
using AudioServicesSystemSoundCompletion = std::function<void(SystemSoundID)>;

inline constexpr OSStatus kAudioServicesNoError = 0;
// The file is missing, unreadable or not a file URL.
inline constexpr OSStatus kAudioServicesSystemSoundUnspecifiedError = -1500;
// No sound has that identifier (never made, or disposed of); a four-character code.
inline constexpr OSStatus kAudioServicesBadSpecifierError = 0x73706563;

// Makes a sound of the file at a file URL (a device path, percent escapes allowed) into
// `outSoundID`; on failure `outSoundID` becomes 0, which names no sound.
OSStatus AudioServicesCreateSystemSoundID(const NSURL& fileURL, SystemSoundID* outSoundID);
// The same for a URL that may be missing (a string that did not parse): fails when it is.
OSStatus AudioServicesCreateSystemSoundID(const std::optional<NSURL>& fileURL,
                                          SystemSoundID* outSoundID);
// Calls `completion` on the main run loop each time a play of the sound ends; replaces an
// earlier completion of the same sound.
OSStatus AudioServicesAddSystemSoundCompletion(SystemSoundID soundID,
                                               AudioServicesSystemSoundCompletion completion);
void AudioServicesRemoveSystemSoundCompletion(SystemSoundID soundID);
// Plays the sound once; an unknown sound plays nothing.
void AudioServicesPlayAlertSound(SystemSoundID soundID);
// Forgets the sound; a play still running ends without its completion.
OSStatus AudioServicesDisposeSystemSoundID(SystemSoundID soundID);
