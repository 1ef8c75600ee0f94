// Saves the settings in a child process while this one kills it with SIGKILL at random
// moments, then checks after every kill that the file reads back as exactly the table before
// or the table of the save that was cut short, and that the next load removes any temporary
// file the killed save left. Prints the counts; exits non-zero on the first broken file.
//
//   huebadge-killloop [--kills N] [--filters N] [--max-delay-ms N] [--seed N]
#include <fmt/format.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "platform/foundation/PropertyList.h"
#include "platform/system/DeviceRoot.h"
#include "store/HBPreferences.h"

namespace {

namespace fs = std::filesystem;

const std::string kIdentifier = HBPreferences::kIdentifier;
constexpr int kSavesPerChild = 100000;

struct Options {
    int kills = 200;
    int filters = 2000;
    int maxDelayMs = 40;
    unsigned seed = std::random_device{}();
};

struct Counts {
    int kills = 0;
    int heldOld = 0;
    int heldNew = 0;
    int duringSave = 0;
    int temporariesLeft = 0;
    int saves = 0;
};

// What the child reports through the pipe: a save of `generation` begun or finished.
struct Record {
    char kind;  // 'B' or 'E'
    std::int64_t generation;
};

// Even generations are small tables, odd ones large: both sizes get cut short.
PlistValue table(std::int64_t generation, int filters) {
    PlistValue root = PlistValue::dictionary();
    root.set("generation", PlistValue::integer(generation));
    for (int i = 0; i < 50; ++i) {
        root.set(fmt::format("Account {}", i),
                 PlistValue(fmt::format("#{:06X}", (generation * 50 + i) & 0xFFFFFF)));
    }
    if (generation % 2 == 1) {
        PlistValue enabled = PlistValue::array();
        for (int n = 0; n < filters; ++n) {
            PlistValue record = PlistValue::dictionary();
            record.set("filterName", PlistValue(fmt::format("Filter {} of {}", n, generation)));
            record.set("from", PlistValue(fmt::format("sender{}@example\\.com", n)));
            record.set("hexColor", PlistValue(fmt::format("#{:06X}", n & 0xFFFFFF)));
            enabled.append(std::move(record));
        }
        root.set("filtersEnabled", std::move(enabled));
    }
    return root;
}

[[noreturn]] void saveForever(int pipeOut, std::int64_t generation, int filters) {
    HBPreferences store;
    store.loadFromIdentifier(kIdentifier, HBPreferences::kNotification);
    for (int i = 0; i < kSavesPerChild; ++i) {
        ++generation;
        PlistValue next = table(generation, filters);
        store.resetPreferences();
        for (const auto& [key, value] : *next.dictionaryValue()) {
            store.setObject(value, key);
        }
        Record begun{'B', generation};
        (void)::write(pipeOut, &begun, sizeof begun);
        bool saved = store.save({.notification = HBPreferences::Notification(),
                                 .stamp = HBSaveOptions::Stamp::Unchanged});
        Record ended{saved ? 'E' : 'F', generation};
        (void)::write(pipeOut, &ended, sizeof ended);
    }
    ::_exit(0);
}

std::string settingsPath() {
    return HBPreferences::pathForIdentifier(kIdentifier);
}

// Files beside the settings file but its lock file, which stays for the next writer.
int temporaryCount() {
    int count = 0;
    const fs::path settings(settingsPath());
    const fs::path lock(settingsPath() + ".lock");
    for (const auto& entry : fs::directory_iterator(settings.parent_path())) {
        count += entry.path() != settings && entry.path() != lock;
    }
    return count;
}

struct Outcome {
    std::int64_t lastEnded;
    std::optional<std::int64_t> cutShort;
    int saves = 0;
    bool failedSave = false;
};

Outcome runAndKill(std::int64_t current, const Options& options, std::mt19937& random) {
    int fds[2];
    if (::pipe(fds) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        saveForever(fds[1], current, options.filters);
    }
    ::close(fds[1]);
    // The kill falls at a random moment after the first save has begun, so that it lands in
    // saves rather than in the child's start however slow the machine is.
    Outcome outcome{current, std::nullopt};
    Record record{};
    bool begun = ::read(fds[0], &record, sizeof record) == sizeof record;
    std::uniform_int_distribution<int> delay(0, options.maxDelayMs * 1000);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    if (begun) {
        outcome.cutShort = record.generation;
    }
    while (::read(fds[0], &record, sizeof record) == sizeof record) {
        if (record.kind == 'B') {
            outcome.cutShort = record.generation;
        } else {
            outcome.failedSave |= record.kind == 'F';
            outcome.lastEnded = record.generation;
            outcome.cutShort.reset();
            ++outcome.saves;
        }
    }
    ::close(fds[0]);
    return outcome;
}

// The generation the file holds when it is exactly one of the two allowed tables.
std::optional<std::int64_t> checkFile(const Outcome& outcome, int filters) {
    Result<PlistValue> contents = PropertyList::readFile(settingsPath());
    if (!contents) {
        fmt::print(stderr, "the settings file does not read back: {}\n", contents.error());
        return std::nullopt;
    }
    if (contents.value() == table(outcome.lastEnded, filters)) {
        return outcome.lastEnded;
    }
    if (outcome.cutShort && contents.value() == table(*outcome.cutShort, filters)) {
        return outcome.cutShort;
    }
    fmt::print(stderr, "the settings file holds neither generation {} nor the one cut short\n",
               outcome.lastEnded);
    return std::nullopt;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i];
        int value = std::atoi(argv[i + 1]);
        if (name == "--kills") {
            options.kills = value;
        } else if (name == "--filters") {
            options.filters = value;
        } else if (name == "--max-delay-ms") {
            options.maxDelayMs = value;
        } else if (name == "--seed") {
            options.seed = static_cast<unsigned>(value);
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

int fail(const std::string& folder) {
    fmt::print(stderr, "kept for inspection: {}\n", folder);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        fmt::print(stderr, "usage: {} [--kills N] [--filters N] [--max-delay-ms N] [--seed N]\n",
                   argv[0]);
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "huebadge-killloop-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 2;
    }
    DeviceRoot::set(pattern);
    std::mt19937 random(options.seed);
    std::int64_t current = 0;
    {
        HBPreferences first;
        first.loadFromIdentifier(kIdentifier, HBPreferences::kNotification);
        PlistValue initial = table(current, options.filters);
        for (const auto& [key, value] : *initial.dictionaryValue()) {
            first.setObject(value, key);
        }
        if (!first.save({.notification = HBPreferences::Notification(),
                         .stamp = HBSaveOptions::Stamp::Unchanged})) {
            return fail(pattern);
        }
    }
    Counts counts;
    for (; counts.kills < options.kills; ++counts.kills) {
        Outcome outcome = runAndKill(current, options, random);
        counts.saves += outcome.saves;
        counts.duringSave += outcome.cutShort.has_value();
        std::optional<std::int64_t> held = checkFile(outcome, options.filters);
        if (!held || outcome.failedSave) {
            fmt::print(stderr, "after kill {}{}\n", counts.kills + 1,
                       outcome.failedSave ? ": a save reported failure" : "");
            return fail(pattern);
        }
        (*held == outcome.lastEnded ? counts.heldOld : counts.heldNew)++;
        current = *held;
        counts.temporariesLeft += temporaryCount();
        HBPreferences next;
        next.loadFromIdentifier(kIdentifier, HBPreferences::kNotification);
        if (int left = temporaryCount(); left != 0) {
            fmt::print(stderr, "after kill {}: {} temporary files survived the next load\n",
                       counts.kills + 1, left);
            return fail(pattern);
        }
    }
    fmt::print(
        "kill loop (seed {}): {} kills, {} saves completed; {} kills fell inside a save; the "
        "file held the old table {} times and the new one {} times, never anything else; {} "
        "temporary files left by kills, all removed by the next load\n",
        options.seed, counts.kills, counts.saves, counts.duringSave, counts.heldOld, counts.heldNew,
        counts.temporariesLeft);
    fs::remove_all(pattern);
    return 0;
}
