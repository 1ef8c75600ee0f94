#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/foundation/NSURL.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/prefs/PSPageDescription.h"
#include "platform/system/MailAccount.h"
#include "platform/system/SystemSoundServices.h"
#include "platform/system/TLToneManager.h"
#include "platform/ui/UIImage.h"
#include "store/HBPreferences.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

// Every reader of a device file, given a folder where its file should be: each must answer
// as for an unreadable file (a failure or nothing) and never throw.
struct Reader {
    const char* name;
    std::string devicePath;
    std::function<bool()> failsSoftly;
};

std::vector<Reader> readers() {
    return {
        {"settings store", "/var/mobile/Library/Preferences/net.quorvel.huebadge.plist",
         [] {
             HBPreferences store;
             bool loaded =
                 store.loadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification);
             return !loaded && !store.change(PlistValue::integer(1), "mailBoxAlphaLevel") &&
                    store.lastSaveFailure().has_value();
         }},
        {"tone list", std::string(TLToneManager::kTonesPath),
         [] { return !TLToneManager::sharedToneManager(); }},
        {"account list", std::string(MailAccount::kAccountsPath),
         [] { return !MailAccount::lookupClass() && MailAccount::activeAccounts().empty(); }},
        {"image", "/Library/Images/Selector.png",
         [] { return !UIImage::imageWithContentsOfFile("/Library/Images/Selector.png"); }},
        {"sound", "/Library/Ringtones/Bells.m4r",
         [] {
             SystemSoundID sound = 0;
             OSStatus status = SystemSoundServices::shared().createSound(
                 NSURL::fileURLWithPath("/Library/Ringtones/Bells.m4r"), &sound);
             return status != kAudioServicesNoError && sound == 0;
         }},
        {"page description", "/resources/Blocked.plist",
         [] { return !PSPageDescription::load("Blocked", nullptr); }},
        {"property list", "/var/mobile/Library/Preferences/other.plist",
         [] {
             Result<PlistValue> read = PropertyList::readFile(
                 DeviceRoot::resolve("/var/mobile/Library/Preferences/other.plist"));
             return !read && read.error().find("Is a directory") != std::string::npos;
         }},
    };
}

TEST(FolderInPlaceOfAFile, EveryReaderFailsSoftly) {
    for (const Reader& reader : readers()) {
        TemporaryDeviceRoot device;
        PSBundle::setResourcesDirectory(device.resolve("/resources"));
        std::filesystem::create_directories(device.resolve(reader.devicePath));
        bool soft = false;
        EXPECT_NO_THROW(soft = reader.failsSoftly()) << reader.name;
        EXPECT_TRUE(soft) << reader.name;
    }
    PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
}

}  // namespace
