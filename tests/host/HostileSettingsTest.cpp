// Settings files where the keys the pane reads hold values of the wrong type: every page a
// user reaches opens on them, takes taps on its rows and answers to its alerts without a
// crash or a sanitizer report, and whatever it saves reads back.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <set>

#include "model/HBFilterKind.h"
#include "model/HBFilterRecord.h"
#include "model/HBPaneKeys.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/system/MailAccount.h"
#include "store/HBPreferences.h"
#include "support/PaneWalk.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kAccount = "Home";

// The keys of a filter record of any kind.
std::set<std::string> recordKeys() {
    std::set<std::string> keys = {HBFilterRecord::kNameKey, HBFilterRecord::kColorKey,
                                  HBFilterRecord::kSoundKey};
    for (const HBFilterKind* kind :
         {&HBFilterKind::messages(), &HBFilterKind::folders(0), &HBFilterKind::folders(1)}) {
        for (const HBFilterField& field : kind->fields) {
            keys.insert(field.key);
            keys.insert(field.matchTypeKey);
        }
    }
    return keys;
}

// Every key the pane reads: the ones its code names, the row keys of its descriptions (the
// folder options page's with the suffix of each set), the record fields and an account's
// colour.
std::set<std::string> paneKeys() {
    std::vector<std::string_view> codeKeys = HBPaneKeys::codeKeys();
    std::set<std::string> keys(codeKeys.begin(), codeKeys.end());
    for (const fs::directory_entry& entry : fs::directory_iterator(HUEBADGE_RESOURCES_DIR)) {
        if (entry.path().extension() != ".plist") {
            continue;
        }
        bool suffixed = entry.path().stem() == "HBOptionsFiltersFolders";
        Result<PlistValue> description = PropertyList::readFile(entry.path().string());
        const PlistValue::Array* items =
            description ? description.value()["items"].arrayValue() : nullptr;
        for (const PlistValue& item : items ? *items : PlistValue::Array{}) {
            const std::string* key = item["key"].stringValue();
            if (key && !key->empty() && suffixed) {
                keys.insert({*key + "1", *key + "2"});
            } else if (key && !key->empty()) {
                keys.insert(*key);
            }
        }
    }
    std::set<std::string> fields = recordKeys();
    keys.insert(fields.begin(), fields.end());
    keys.insert(kAccount);
    return keys;
}

// A record whose every field holds the wrong type, each a different one.
PlistValue wrongRecord() {
    PlistValue record = PlistValue::dictionary();
    int turn = 0;
    for (const std::string& key : recordKeys()) {
        switch (turn++ % 4) {
            case 0:
                record.set(key, PlistValue::integer(-1));
                break;
            case 1:
                record.set(key, PlistValue::Array{"x"});
                break;
            case 2:
                record.set(key, PlistValue::boolean(true));
                break;
            default:
                record.set(key, PlistValue::date(1e9));
        }
    }
    return record;
}

// A wrong value by name, made when a case uses it: made at registration, the list of 10,000
// records would cost every process of the test program half a second, each test runs in one.
struct WrongValue {
    const char* name;
    PlistValue (*make)();
};

PlistValue nestedDictionary() {
    PlistValue nested = PlistValue::dictionary();
    nested.set("inner", PlistValue::Array{PlistValue::dictionary()});
    return nested;
}

PlistValue tenThousandRecords() {
    PlistValue many = PlistValue::array();
    for (int i = 0; i < 10000; ++i) {
        many.append(i % 2 ? wrongRecord() : PlistValue("not a record"));
    }
    return many;
}

class HostileSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
        PlistValue account = PlistValue::dictionary();
        account.set("displayName", kAccount);
        account.set("primaryMailboxUniqueId", "mb-home");
        account.set("uniqueIdForPersistentConnection", "pc-home");
        TemporaryDeviceRoot::write(device.resolve(std::string(MailAccount::kAccountsPath)),
                                   PropertyList::toXml(PlistValue::Array{account}).value());
    }

    std::string settingsPath() const {
        return HBPreferences::pathForIdentifier(HBPreferences::kIdentifier);
    }

    // Writes and loads the settings, unless the last walk left the file as written: the
    // store then holds them already.
    void useSettings(const std::string& xml) {
        if (xml == usedXml && stamp() == usedStamp) {
            return;
        }
        TemporaryDeviceRoot::write(settingsPath(), xml);
        checked = usedStamp = stamp();
        usedXml = xml;
        HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                             HBPreferences::kNotification);
    }

    // Opens every registered page on the settings and walks it; returns the pages seen.
    int walkEveryPage(const PlistValue& settings, const std::string& corpus, int depth,
                      bool light = false) {
        int pages = 0;
        PaneWalk::Options options;
        options.depth = depth;
        options.rowsPerSection = light ? 1 : 3;
        options.flipSwitches = !light;
        options.onPage = [&](HeadlessHost&, const PaneRoute&) { ++pages; };
        options.afterTap = [&](HeadlessHost&, const PaneRoute& route) {
            expectSavedFileReadsBack(corpus + ", " + route.describe());
        };
        std::string xml = PropertyList::toXml(settings).value();
        for (const PaneRoute& start : PaneWalk::startingRoutes()) {
            useSettings(xml);
            if (std::unique_ptr<HeadlessHost> host = PaneWalk::open(start)) {
                PaneWalk::walk(*host, start, options);
            }
        }
        return pages;
    }

    std::pair<fs::file_time_type, std::uintmax_t> stamp() const {
        std::error_code error;
        return {fs::last_write_time(settingsPath(), error), fs::file_size(settingsPath(), error)};
    }

    // Reads the file again only when a save changed it since the last look.
    void expectSavedFileReadsBack(const std::string& where) {
        const auto& failure = HBPreferences::sharedInstance().lastSaveFailure();
        EXPECT_FALSE(failure) << where << ": a save failed";
        ++taps;
        if (stamp() == checked) {
            return;
        }
        checked = stamp();
        ++savesRead;
        Result<PlistValue> saved = PropertyList::readFile(settingsPath());
        ASSERT_TRUE(saved) << where << ": " << saved.error();
        EXPECT_TRUE(saved->isDictionary()) << where;
    }

    TemporaryDeviceRoot device;
    std::pair<fs::file_time_type, std::uintmax_t> checked;
    std::pair<fs::file_time_type, std::uintmax_t> usedStamp;
    std::string usedXml;
    std::size_t taps = 0;
    std::size_t savesRead = 0;
};

// The wrong types; the list of 10,000 records is the last.
const std::vector<WrongValue>& wrongs() {
    static const std::vector<WrongValue> values = {
        {"string", [] { return PlistValue("hostile \u00e9 <&>"); }},
        {"number", [] { return PlistValue::integer(-9223372036854775807LL - 1); }},
        {"real", [] { return PlistValue::real(1e308); }},
        {"boolean", [] { return PlistValue::boolean(true); }},
        {"date", [] { return PlistValue::date(-1e10); }},
        {"data",
         [] {
             return PlistValue::data({0, 0xff, 0x3c});
         }},
        {"array",
         [] {
             return PlistValue(
                 PlistValue::Array{PlistValue::integer(3), "#FFFFFF", PlistValue::dictionary()});
         }},
        {"dictionary", nestedDictionary},
        {"records",
         [] {
             return PlistValue(PlistValue::Array{wrongRecord(), wrongRecord()});
         }},
        {"long string", [] { return PlistValue(std::string(100000, '#')); }},
        {"10,000 records", tenThousandRecords},
    };
    return values;
}

std::string caseName(const ::testing::TestParamInfo<std::size_t>& info) {
    std::string name;
    for (char c : std::string(wrongs()[info.param].name)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

// One case a wrong type, or a round of types: the cases run side by side.
class HostileSettingsOfType : public HostileSettings,
                              public ::testing::WithParamInterface<std::size_t> {};
using HostileSettingsRound = HostileSettingsOfType;

// Each wrong type given to every key at once, and a whole walk on each file. The list of
// 10,000 records goes to the message filters alone: every save writes it whole, which is
// slow under the sanitizers.
TEST_P(HostileSettingsOfType, EveryKeyOfOneWrongTypeOnEveryPage) {
    const WrongValue& wrong = wrongs()[GetParam()];
    bool many = GetParam() + 1 == wrongs().size();
    PlistValue settings = PlistValue::dictionary();
    std::set<std::string> keys = paneKeys();
    if (many) {
        keys = {HBFilterKind::messages().enabledKey};
    }
    PlistValue value = wrong.make();
    for (const std::string& key : keys) {
        settings.set(key, value);
    }
    auto began = std::chrono::steady_clock::now();
    // Pages of 10,000 rows, and saves of them, are slow under the sanitizers: fewer taps
    // and no switches on them.
    int pages = walkEveryPage(settings, std::string("every key ") + wrong.name, many ? 1 : 2, many);
    EXPECT_GT(pages, 0);
    std::cerr << "hostile settings: every key " << wrong.name << ", " << pages << " pages, " << taps
              << " taps, " << savesRead << " saved files read back in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count()
              << " s\n";
    if (!many) {
        EXPECT_GT(savesRead, 0u);
    }
}

// Every key with every wrong type (the long list of records aside), a few keys to a file
// with different types, so that the product takes fewer walks; this round gives key i the
// type (i + round). Taps reach the registered pages' rows.
TEST_P(HostileSettingsRound, EveryKeyWithEveryWrongTypeOnEveryPage) {
    constexpr std::size_t kKeysPerFile = 12;
    std::size_t round = GetParam();
    std::size_t types = wrongs().size() - 1;
    std::vector<std::string> keys;
    for (const std::string& key : paneKeys()) {
        keys.push_back(key);
    }
    for (std::size_t first = 0; first < keys.size(); first += kKeysPerFile) {
        PlistValue settings = PlistValue::dictionary();
        std::string names;
        for (std::size_t i = first; i < std::min(first + kKeysPerFile, keys.size()); ++i) {
            const WrongValue& wrong = wrongs()[(i + round) % types];
            settings.set(keys[i], wrong.make());
            names += " " + keys[i] + " as " + wrong.name;
        }
        walkEveryPage(settings, names, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(EachType, HostileSettingsOfType,
                         ::testing::Range<std::size_t>(0, wrongs().size()), caseName);
// The long list of records takes no part in the rounds.
INSTANTIATE_TEST_SUITE_P(EachRound, HostileSettingsRound,
                         ::testing::Range<std::size_t>(0, wrongs().size() - 1));

}  // namespace
