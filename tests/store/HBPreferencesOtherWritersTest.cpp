#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/dispatch/RunLoop.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SystemCalls.h"
#include "store/HBPreferences.h"
#include "support/NotificationProbe.h"
#include "support/TemporaryDeviceRoot.h"

namespace other_writers_test {

const std::string kIdentifier = "net.quorvel.huebadge";
const std::string kNotification = "net.quorvel.huebadge/preferences";

struct Counting : HBPreferencesObserver {
    void preferencesDidChangeElsewhere() override { ++elsewhere; }
    void preferencesDidFailToSave() override { ++failures; }
    int elsewhere = 0;
    int failures = 0;
};

class OtherWritersTest : public ::testing::Test {
  protected:
    std::string path() const {
        return root.resolve("/var/mobile/Library/Preferences/" + kIdentifier + ".plist");
    }

    PlistValue file() const {
        Result<PlistValue> read = PropertyList::readFile(path());
        return read ? read.value() : PlistValue::dictionary();
    }

    // Another program's write, in place (the same inode, so only size, time or bytes tell).
    void writeInPlace(const PlistValue& table) const {
        std::ofstream(path(), std::ios::binary | std::ios::trunc)
            << PropertyList::toXml(table).value();
    }

    void outsideSet(const std::string& key, std::optional<std::int64_t> value) const {
        PlistValue table = file();
        if (value) {
            table.set(key, PlistValue::integer(*value));
        } else {
            table.mutableDictionary().erase(key);
        }
        writeInPlace(table);
    }

    static void load(HBPreferences& store) {
        store.reLoadFromIdentifier(kIdentifier, kNotification);
    }

    TemporaryDeviceRoot root;
};

// Writers: 'a' and 'b' are two stores of one process; 'x' another program writing in place;
// 'd' another program deleting the file. A value of none removes the key ('x') or nothing.
struct Step {
    char writer;
    std::string key;
    std::optional<std::int64_t> value;
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
    std::map<std::string, std::optional<std::int64_t>> expected;
};

TEST_F(OtherWritersTest, EveryWritersChangeIsKept) {
    const std::vector<Scenario> scenarios = {
        {"interleaved stores and a program",
         {{'a', "k1", 1}, {'b', "k2", 2}, {'x', "k3", 3}, {'a', "k1", 4}, {'b', "k3", 5}},
         {{"k1", 4}, {"k2", 2}, {"k3", 5}}},
        {"a key removed elsewhere stays removed",
         {{'a', "k1", 1}, {'a', "k2", 1}, {'x', "k1", std::nullopt}, {'a', "k2", 2}},
         {{"k1", std::nullopt}, {"k2", 2}}},
        {"a key removed elsewhere and changed here comes back",
         {{'a', "k1", 1}, {'x', "k1", std::nullopt}, {'a', "k1", 7}},
         {{"k1", 7}}},
        {"a file gone loses nothing: the next save writes every setting",
         {{'a', "k1", 1}, {'d', "", std::nullopt}, {'a', "k2", 2}},
         {{"k1", 1}, {"k2", 2}}},
        {"the same size at once, in place: the bytes tell",
         {{'a', "k1", 1}, {'x', "k1", 2}, {'a', "k2", 3}},
         {{"k1", 2}, {"k2", 3}}},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        std::filesystem::remove(path());
        HBPreferences a;
        HBPreferences b;
        load(a);
        load(b);
        for (const Step& step : scenario.steps) {
            if (step.writer == 'x') {
                outsideSet(step.key, step.value);
            } else if (step.writer == 'd') {
                std::filesystem::remove(path());
            } else {
                HBPreferences& store = step.writer == 'a' ? a : b;
                ASSERT_TRUE(store.change(PlistValue::integer(*step.value), step.key));
            }
        }
        PlistValue written = file();
        a.reloadIfChangedElsewhere();
        for (const auto& [key, value] : scenario.expected) {
            PlistValue want = value ? PlistValue::integer(*value) : PlistValue();
            EXPECT_EQ(written[key], want) << key;
            EXPECT_EQ(a.objectForKey(key), want) << key;
        }
    }
}

TEST_F(OtherWritersTest, ReloadKeepsUnsavedChangesAndOwnSavesMakeNone) {
    HBPreferences store;
    load(store);
    auto observer = std::make_shared<Counting>();
    store.addObserver(observer);
    ASSERT_TRUE(store.change(PlistValue::integer(1), "mine"));
    EXPECT_FALSE(store.reloadIfChangedElsewhere());

    store.setSaveDelay({.quiet = 0.1, .longest = 1});
    ASSERT_TRUE(store.change(PlistValue::integer(2), "mine"));
    outsideSet("theirs", 9);
    EXPECT_TRUE(store.reloadIfChangedElsewhere());
    EXPECT_EQ(observer->elsewhere, 1);
    EXPECT_EQ(store.integerForKey("mine"), 2);
    EXPECT_EQ(store.integerForKey("theirs"), 9);

    NotificationProbe probe(kNotification);
    RunLoop::main().advanceBy(0.1);
    EXPECT_EQ(file()["mine"], PlistValue::integer(2));
    EXPECT_EQ(file()["theirs"], PlistValue::integer(9));
    EXPECT_TRUE(probe.waitForDelivery());
    EXPECT_FALSE(store.reloadIfChangedElsewhere());
    EXPECT_EQ(observer->elsewhere, 1);
}

// A burst of changes is one save, once it pauses or at the longest delay; a save of another
// kind saves what waits first.
TEST_F(OtherWritersTest, DelayedChangesAreSavedOnceABurstEnds) {
    HBPreferences store;
    load(store);
    store.setSaveDelay({.quiet = 0.1, .longest = 0.5});
    auto fileHas = [&](const std::string& key) { return !file()[key].isAbsent(); };
    auto changeEvery50ms = [&](const char* prefix, int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(store.change(PlistValue::integer(i), fmt::format("{}{}", prefix, i)));
            RunLoop::main().advanceBy(0.05);
        }
    };
    changeEvery50ms("quiet", 8);
    EXPECT_FALSE(fileHas("quiet0"));
    RunLoop::main().advanceBy(0.05);
    EXPECT_TRUE(fileHas("quiet7"));
    changeEvery50ms("longest", 12);
    EXPECT_TRUE(fileHas("longest9"));
    EXPECT_FALSE(fileHas("longest10"));

    ASSERT_TRUE(store.change(PlistValue::integer(1), "waiting"));
    PlistValue profile = PlistValue::dictionary();
    profile.set("k3", PlistValue::integer(3));
    ASSERT_TRUE(store.replaceTable(profile, {.identifier = kIdentifier + "_P"}));
    EXPECT_TRUE(fileHas("waiting"));
    RunLoop::main().advanceBy(1);
    EXPECT_TRUE(file()["k3"].isAbsent());
}

// A due save written on its own thread is finished by whatever next needs the file: its write
// is no other program's, a change made meanwhile is saved next (over another program's
// write), and a failed write keeps its changes for the next save.
TEST_F(OtherWritersTest, BackgroundSavesKeepEveryChange) {
    HBPreferences store;
    load(store);
    store.setSaveDelay({.quiet = 0.1, .longest = 1, .inBackground = true});
    auto observer = std::make_shared<Counting>();
    store.addObserver(observer);
    auto changeAndWait = [&](const char* key, std::int64_t value) {
        ASSERT_TRUE(store.change(PlistValue::integer(value), key));
        RunLoop::main().advanceBy(0.1);
    };
    NotificationProbe probe(kNotification);
    changeAndWait("first", 1);
    ASSERT_TRUE(store.change(PlistValue::integer(2), "meanwhile"));
    EXPECT_FALSE(store.reloadIfChangedElsewhere());
    EXPECT_EQ(file()["first"], PlistValue::integer(1));
    EXPECT_TRUE(file()["meanwhile"].isAbsent());
    EXPECT_TRUE(probe.waitForDelivery());
    outsideSet("theirs", 9);
    RunLoop::main().advanceBy(0.1);
    store.savePendingChanges();
    EXPECT_EQ(file()["meanwhile"], PlistValue::integer(2));
    EXPECT_EQ(file()["theirs"], PlistValue::integer(9));
    {
        SystemCalls::ScopedFaultPlan plan({{{SystemCalls::Kind::Rename, 1, EIO}}});
        changeAndWait("failed", 3);
        store.savePendingChanges();
    }
    EXPECT_EQ(observer->failures, 1);
    EXPECT_TRUE(store.lastSaveFailure());
    EXPECT_TRUE(file()["failed"].isAbsent());
    changeAndWait("after", 4);
    store.savePendingChanges();
    EXPECT_EQ(file()["failed"], PlistValue::integer(3));
    EXPECT_EQ(file()["after"], PlistValue::integer(4));
    EXPECT_FALSE(store.lastSaveFailure());
    EXPECT_EQ(observer->elsewhere, 1);
}

TEST_F(OtherWritersTest, AWatchedStoreReloadsOnTheMainQueue) {
    HBPreferences store;
    load(store);
    ASSERT_TRUE(store.change(PlistValue::integer(1), "mine"));
    auto observer = std::make_shared<Counting>();
    store.addObserver(observer);
    store.watchForOtherWriters();
    auto runUntil = [](const std::function<bool()>& done, std::chrono::milliseconds limit) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            RunLoop::main().runUntilIdle();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return done();
    };
    PlistValue theirs = file();
    theirs.set("theirs", PlistValue::integer(5));
    ASSERT_TRUE(AtomicFile::write(path(), PropertyList::toXml(theirs).value()).ok());
    EXPECT_TRUE(
        runUntil([&] { return store.integerForKey("theirs") == 5; }, std::chrono::seconds(5)));

    NotificationProbe probe(kNotification);
    ASSERT_TRUE(store.change(PlistValue::integer(2), "mine"));
    ASSERT_TRUE(probe.waitForDelivery());
    runUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(observer->elsewhere, 1);
}

// Two processes, each changing its own keys through its own store: both sets are whole.
TEST_F(OtherWritersTest, TwoProcessesKeepEachOthersChanges) {
    constexpr int kChanges = 1000;
    std::vector<pid_t> children;
    for (const char* prefix : {"first", "second"}) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            HBPreferences store;
            store.reLoadFromIdentifier(kIdentifier, kNotification);
            bool saved = true;
            for (int i = 0; i < kChanges; ++i) {
                saved &= store.change(PlistValue::integer(i), fmt::format("{}{}", prefix, i % 50));
            }
            ::_exit(saved ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    PlistValue written = file();
    for (const char* prefix : {"first", "second"}) {
        for (int key = 0; key < 50; ++key) {
            EXPECT_EQ(written[fmt::format("{}{}", prefix, key)],
                      PlistValue::integer(kChanges - 50 + key))
                << prefix << key;
        }
    }
}

}  // namespace other_writers_test
