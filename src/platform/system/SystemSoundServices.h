#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/dispatch/RunLoop.h"
#include "platform/system/AudioServices.h"

// What stands behind the sound service functions: the sounds made from files, their
// completions, and a log of plays that a host shows and tests read. A play ends after the
// sound's length: a WAV file's own, else kDefaultDuration.
class SystemSoundServices {
  public:
    static constexpr double kDefaultDuration = 0.5;

    struct Play {
        SystemSoundID soundID;
        std::string path;  // the device path of the sound's file
        RunLoop::Nanoseconds startedAt;
    };

    // The last play of a sound not disposed of. `serial` counts every play, so a host that
    // makes sounds audible starts each play once, and stops it when its sound is disposed of.
    struct LatestPlay {
        std::uint64_t serial;
        SystemSoundID soundID;
        std::string path;
    };

    static SystemSoundServices& shared();

    OSStatus createSound(const NSURL& fileURL, SystemSoundID* outSoundID);
    OSStatus setCompletion(SystemSoundID soundID, AudioServicesSystemSoundCompletion completion);
    void removeCompletion(SystemSoundID soundID);
    void play(SystemSoundID soundID);
    OSStatus dispose(SystemSoundID soundID);

    std::vector<Play> playLog() const;
    std::vector<LatestPlay> latestPlays() const;
    void clearPlayLog();
    // How many sounds exist (made and not disposed of); a test's check for leaks.
    std::size_t soundCount() const;

  private:
    struct Sound {
        std::string path;
        RunLoop::Nanoseconds duration;
        AudioServicesSystemSoundCompletion completion;
        std::uint64_t lastPlay = 0;
    };

    SystemSoundServices() = default;
    void endPlay(SystemSoundID soundID);

    mutable std::mutex mutex_;
    std::map<SystemSoundID, Sound> sounds_;
    std::vector<Play> log_;
    SystemSoundID nextID_ = 4097;
    std::uint64_t plays_ = 0;
};
