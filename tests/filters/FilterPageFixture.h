#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/HeadlessHost.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/ui/UIView.h"
#include "store/HBPreferences.h"
#include "support/PlistPrint.h"
#include "support/TemporaryDeviceRoot.h"

// A fresh device with the pane's resources, a settings file written by the test and read
// back from disk, and a host showing one page.
class FilterPageFixture {
  protected:
    FilterPageFixture() {
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
        loadStore();
    }
    ~FilterPageFixture() {
        host.reset();
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    }

    static std::string settingsPath() {
        return HBPreferences::pathForIdentifier(HBPreferences::kIdentifier);
    }

    // Writes the settings file and loads the store from it.
    void writeSettings(const PlistValue& settings) {
        TemporaryDeviceRoot::write(settingsPath(), PropertyList::toXml(settings).value());
        loadStore();
    }

    static void loadStore() {
        HBPreferences::sharedInstance().reLoadFromIdentifier(HBPreferences::kIdentifier,
                                                             HBPreferences::kNotification);
    }

    // The settings file as it is on disk now.
    static PlistValue onDisk() {
        Result<PlistValue> read = PropertyList::readFile(settingsPath());
        return read ? read.value() : PlistValue();
    }

    void show(std::shared_ptr<UIViewController> page) {
        host = std::make_unique<HeadlessHost>(std::move(page));
    }

    std::vector<std::string> titles(long section) {
        std::vector<std::string> shown;
        std::vector<HeadlessHost::Section> sections = host->visibleSections();
        for (const HeadlessHost::Row& row : sections.at(section).rows) {
            shown.push_back(row.text);
        }
        return shown;
    }

    static PlistValue list(std::initializer_list<PlistValue> entries) {
        return PlistValue(PlistValue::Array(entries));
    }

    TemporaryDeviceRoot device;
    std::unique_ptr<HeadlessHost> host;
};
