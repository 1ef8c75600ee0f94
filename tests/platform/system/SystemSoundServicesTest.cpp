#include "platform/system/SystemSoundServices.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/foundation/NSString.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

std::string le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

// A mono 8-bit WAV file at 8000 bytes a second, with a "LIST" chunk before the format to
// make the reader walk chunks. `declaredData` may claim more data than follows.
std::string wave(std::uint32_t dataBytes, std::uint32_t declaredData, std::uint32_t byteRate) {
    std::string fmt = "fmt " + le32(16) + std::string("\x01\x00\x01\x00", 4) + le32(byteRate) +
                      le32(byteRate) + std::string("\x01\x00\x08\x00", 4);
    std::string list = "LIST" + le32(3) + std::string("abc\0", 4);  // odd size, padded
    std::string data = "data" + le32(declaredData) + std::string(dataBytes, '\x80');
    std::string body = "WAVE" + list + fmt + data;
    return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

class SystemSounds : public ::testing::Test {
  protected:
    void SetUp() override {
        loop.useManualClock();
        loop.cancelAll();
        services.clearPlayLog();
    }
    void TearDown() override { loop.cancelAll(); }

    // A sound of a file written on the device; the URL carries percent escapes.
    SystemSoundID make(const std::string& devicePath, const std::string& bytes) {
        TemporaryDeviceRoot::write(root.resolve(devicePath), bytes);
        NSURL url = NSURL::fileURLWithPath(NSString::stringByAddingPercentEscapes(devicePath));
        SystemSoundID id = 0;
        EXPECT_EQ(AudioServicesCreateSystemSoundID(url, &id), kAudioServicesNoError);
        EXPECT_NE(id, 0u);
        return id;
    }

    // When, after a play, the completion is called: seconds on the loop's clock, or -1.
    double endOf(SystemSoundID id) {
        double endedAt = -1;
        RunLoop::Nanoseconds start = loop.now();
        AudioServicesAddSystemSoundCompletion(
            id, [&](SystemSoundID) { endedAt = static_cast<double>(loop.now() - start) / 1e9; });
        AudioServicesPlayAlertSound(id);
        for (int step = 0; step < 30 && endedAt < 0; ++step) {
            loop.advanceBy(0.05);
        }
        return endedAt;
    }

    TemporaryDeviceRoot root;
    RunLoop& loop = RunLoop::main();
    SystemSoundServices& services = SystemSoundServices::shared();
};

TEST_F(SystemSounds, FilesThatCannotSoundFailAndPlayNothing) {
    SystemSoundID id = 77;
    EXPECT_NE(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath("/no/such.wav"), &id), 0);
    EXPECT_EQ(id, 0u);
    TemporaryDeviceRoot::write(root.resolve("/Library/Ringtones/Folder/x"), "x");
    EXPECT_NE(
        AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath("/Library/Ringtones/Folder"), &id),
        0);
    EXPECT_NE(AudioServicesCreateSystemSoundID(NSURL::URLWithString("http://host/a.wav"), &id), 0);
    EXPECT_NE(AudioServicesCreateSystemSoundID(NSURL::URLWithString("not a url"), &id), 0);
    EXPECT_NE(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(""), &id), 0);

    EXPECT_EQ(AudioServicesAddSystemSoundCompletion(0, [](SystemSoundID) {}),
              kAudioServicesBadSpecifierError);
    AudioServicesPlayAlertSound(0);
    AudioServicesRemoveSystemSoundCompletion(0);
    EXPECT_EQ(AudioServicesDisposeSystemSoundID(0), kAudioServicesBadSpecifierError);
    EXPECT_TRUE(services.playLog().empty());
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(SystemSounds, PlaysAreLoggedAndEndAfterTheSoundsLength) {
    SystemSoundID tone = make("/var/mobile/Library/Tones/My Tone #1.wav", wave(2000, 2000, 8000));
    EXPECT_DOUBLE_EQ(endOf(tone), 0.25);
    ASSERT_EQ(services.playLog().size(), 1u);
    EXPECT_EQ(services.playLog()[0].soundID, tone);
    EXPECT_EQ(services.playLog()[0].path, "/var/mobile/Library/Tones/My Tone #1.wav");

    // Not a WAV file: the fixed length.
    SystemSoundID ringtone = make("/Library/Ringtones/Bells.m4r", "placeholder");
    EXPECT_DOUBLE_EQ(endOf(ringtone), SystemSoundServices::kDefaultDuration);
    // A data size beyond the file's end counts only what is there; no byte rate, fixed length.
    SystemSoundID cut =
        make("/t/cut.wav", wave(800, std::numeric_limits<std::uint32_t>::max(), 8000));
    EXPECT_DOUBLE_EQ(endOf(cut), 0.1);
    SystemSoundID broken = make("/t/rate0.wav", wave(800, 800, 0));
    EXPECT_DOUBLE_EQ(endOf(broken), SystemSoundServices::kDefaultDuration);
    SystemSoundID headerOnly = make("/t/short.wav", wave(0, 0, 8000).substr(0, 20));
    EXPECT_DOUBLE_EQ(endOf(headerOnly), SystemSoundServices::kDefaultDuration);
    EXPECT_EQ(services.playLog().size(), 5u);
    for (SystemSoundID id : {tone, ringtone, cut, broken, headerOnly}) {
        EXPECT_EQ(AudioServicesDisposeSystemSoundID(id), kAudioServicesNoError);
    }
}

TEST_F(SystemSounds, StoppedPlaysEndSilently) {
    std::size_t before = services.soundCount();
    SystemSoundID removed = make("/t/a.wav", wave(2000, 2000, 8000));
    int calls = 0;
    AudioServicesAddSystemSoundCompletion(removed, [&](SystemSoundID) { ++calls; });
    AudioServicesPlayAlertSound(removed);
    AudioServicesRemoveSystemSoundCompletion(removed);
    SystemSoundID disposed = make("/t/b.wav", wave(2000, 2000, 8000));
    AudioServicesAddSystemSoundCompletion(disposed, [&](SystemSoundID) { ++calls; });
    AudioServicesPlayAlertSound(disposed);
    EXPECT_EQ(AudioServicesDisposeSystemSoundID(disposed), kAudioServicesNoError);
    loop.advanceBy(1);
    EXPECT_EQ(calls, 0);
    AudioServicesDisposeSystemSoundID(removed);
    EXPECT_EQ(services.soundCount(), before);
}

TEST_F(SystemSounds, TheLatestPlayOfEachSoundLastsUntilTheSoundIsDisposedOf) {
    SystemSoundID first = make("/Library/Ringtones/Short.wav", wave(800, 800, 8000));
    SystemSoundID second = make("/Library/Ringtones/Other Tone.caf", "not a wave");
    auto latest = [&](SystemSoundID id) -> std::optional<SystemSoundServices::LatestPlay> {
        for (const SystemSoundServices::LatestPlay& play : services.latestPlays()) {
            if (play.soundID == id) {
                return play;
            }
        }
        return std::nullopt;
    };
    EXPECT_FALSE(latest(first)) << "made, never played";
    AudioServicesPlayAlertSound(first);
    std::uint64_t once = latest(first)->serial;
    AudioServicesPlayAlertSound(second);
    AudioServicesPlayAlertSound(first);
    EXPECT_GT(latest(first)->serial, latest(second)->serial);
    EXPECT_GT(latest(second)->serial, once);
    EXPECT_EQ(latest(second)->path, "/Library/Ringtones/Other Tone.caf");

    // A play that has run its length stays: the host cannot know how long the real file is.
    loop.advanceBy(1);
    EXPECT_TRUE(latest(first));
    EXPECT_EQ(AudioServicesDisposeSystemSoundID(first), kAudioServicesNoError);
    EXPECT_FALSE(latest(first));
    EXPECT_TRUE(latest(second));
    EXPECT_EQ(AudioServicesDisposeSystemSoundID(second), kAudioServicesNoError);
}

TEST_F(SystemSounds, ACompletionMayDisposeOfItsOwnSound) {
    std::size_t before = services.soundCount();
    SystemSoundID id = make("/t/a.wav", "x");
    std::vector<SystemSoundID> ended;
    AudioServicesAddSystemSoundCompletion(id, [&](SystemSoundID sound) {
        ended.push_back(sound);
        AudioServicesRemoveSystemSoundCompletion(sound);
        AudioServicesDisposeSystemSoundID(sound);
    });
    AudioServicesPlayAlertSound(id);
    AudioServicesPlayAlertSound(id);  // the second play's end finds the sound gone
    loop.advanceBy(1);
    EXPECT_EQ(ended, std::vector<SystemSoundID>{id});
    EXPECT_EQ(services.soundCount(), before);
}

}  // namespace
