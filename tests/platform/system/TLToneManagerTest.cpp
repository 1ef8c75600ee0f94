#include "platform/system/TLToneManager.h"

#include <gtest/gtest.h>

#include "platform/foundation/PropertyList.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

PlistValue tone(const char* identifier, const char* name, const char* file) {
    PlistValue entry = PlistValue::dictionary();
    if (identifier)
        entry.set("identifier", identifier);
    if (name)
        entry.set("name", name);
    if (file)
        entry.set("file", file);
    return entry;
}

void writeTones(const TemporaryDeviceRoot& root, const PlistValue& list) {
    Result<std::string> xml = PropertyList::toXml(list);
    ASSERT_TRUE(xml.ok());
    TemporaryDeviceRoot::write(root.resolve(std::string(TLToneManager::kTonesPath)), xml.value());
}

PlistValue sampleList() {
    PlistValue list = PlistValue::dictionary();
    list.set("AlertTones",
             PlistValue::Array{tone("alert.tritone", "Tri-tone", "tritone.wav"),
                               tone("alert.nameless", nullptr, "x.wav"),
                               tone(nullptr, "No identifier", "y.wav"), PlistValue("junk")});
    list.set("InstalledTones",
             PlistValue::Array{tone("itunes.1", "Bought Song", "/var/mobile/Media/song.m4r"),
                               tone("itunes.2", "", nullptr)});
    return list;
}

TEST(TLToneManager, AbsentWithoutAReadableToneList) {
    TemporaryDeviceRoot root;
    EXPECT_FALSE(TLToneManager::lookupClass());
    EXPECT_FALSE(TLITunesTone::lookupClass());
    EXPECT_EQ(TLToneManager::sharedToneManager(), nullptr);
    TemporaryDeviceRoot::write(root.resolve(std::string(TLToneManager::kTonesPath)), "<plist");
    EXPECT_FALSE(TLToneManager::lookupClass());
    EXPECT_FALSE(TLToneManager::catalogueFromPropertyList(PlistValue::array()).ok());
}

TEST(TLToneManager, ListsTonesWithNamesAndSoundFiles) {
    TemporaryDeviceRoot root;
    writeTones(root, sampleList());
    ASSERT_TRUE(TLITunesTone::lookupClass());
    std::shared_ptr<TLToneManager> manager = TLToneManager::sharedToneManager();
    ASSERT_NE(manager, nullptr);

    EXPECT_EQ(manager->alertTonesByIdentifier(),
              (std::map<std::string, std::string>{
                  {"alert.nameless", "/var/mobile/Library/Tones/x.wav"},
                  {"alert.tritone", "/var/mobile/Library/Tones/tritone.wav"}}));
    EXPECT_EQ(manager->localizedNameOfToneWithIdentifier("alert.tritone"), "Tri-tone");
    EXPECT_EQ(manager->localizedNameOfToneWithIdentifier("alert.nameless"), std::nullopt);
    EXPECT_EQ(manager->localizedNameOfToneWithIdentifier("itunes.1"), "Bought Song");
    EXPECT_EQ(manager->localizedNameOfToneWithIdentifier("unknown"), std::nullopt);

    std::vector<std::shared_ptr<TLITunesTone>> installed = manager->installedTones();
    ASSERT_EQ(installed.size(), 2u);
    EXPECT_EQ(installed[0]->identifier(), "itunes.1");
    EXPECT_EQ(installed[0]->name(), "Bought Song");
    EXPECT_EQ(installed[1]->name(), "");

    EXPECT_EQ(manager->filePathForToneIdentifier("alert.tritone"),
              "/var/mobile/Library/Tones/tritone.wav");
    EXPECT_EQ(manager->filePathForToneIdentifier("itunes.1"), "/var/mobile/Media/song.m4r");
    for (const char* none : {"itunes.2", "HBDefault", "HBSilent", "", "system:Missing"}) {
        EXPECT_EQ(manager->filePathForToneIdentifier(none), std::nullopt) << none;
    }
}

TEST(TLToneManager, RingtonesAreFoundByTheirFileName) {
    TemporaryDeviceRoot root;
    writeTones(root, sampleList());
    TemporaryDeviceRoot::write(root.resolve("/Library/Ringtones/Pack/Chime.m4r"), "x");
    auto manager = TLToneManager::sharedToneManager();
    EXPECT_EQ(manager->filePathForToneIdentifier("system:Pack/Chime"),
              "/Library/Ringtones/Pack/Chime.m4r");
    EXPECT_EQ(manager->filePathForToneIdentifier("system:Chime"), std::nullopt);
}

TEST(TLToneManager, ChangesOnTheDeviceShowAtOnce) {
    TemporaryDeviceRoot root;
    writeTones(root, sampleList());
    auto manager = TLToneManager::sharedToneManager();
    PlistValue fewer = PlistValue::dictionary();
    fewer.set("AlertTones", PlistValue::Array{tone("alert.new", "New", "new.wav")});
    writeTones(root, fewer);
    EXPECT_EQ(manager->alertTonesByIdentifier().size(), 1u);
    EXPECT_TRUE(manager->installedTones().empty());
}

}  // namespace
