#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "color/HBColorCell.h"
#include "color/HBColorSelectorController.h"
#include "host/HeadlessHost.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "store/HBPreferences.h"
#include "support/TemporaryDeviceRoot.h"

// A fresh device and store, and the colour selector page opened as a row titled so would.
class ColorPageFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        PSBundle::setResourcesDirectory(HUEBADGE_RESOURCES_DIR);
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
        startOver();
    }
    // No page, no settings file, an empty store: for each case of a table-driven test.
    void startOver() {
        host.reset();
        page.reset();
        std::filesystem::remove(HBPreferences::pathForIdentifier(HBPreferences::kIdentifier));
        store().reLoadFromIdentifier(HBPreferences::kIdentifier, HBPreferences::kNotification);
    }
    void TearDown() override {
        UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
    }

    static HBPreferences& store() { return HBPreferences::sharedInstance(); }

    std::shared_ptr<HBColorCell> open(const std::string& title) {
        auto row = PSSpecifier::preferenceSpecifierNamed(
            title, nullptr, PSSpecifier::NoSetter, PSSpecifier::NoGetter,
            "HBColorSelectorController", PSLinkCell, "");
        row->setProperty(PlistValue(title), "title");
        host.reset();
        page = std::make_shared<HBColorSelectorController>();
        page->setSpecifier(row);
        host = std::make_unique<HeadlessHost>(page);
        return std::dynamic_pointer_cast<HBColorCell>(host->cellAt(0, 0));
    }

    // The settings file as written; absent when nothing was written.
    PlistValue savedFile() const {
        Result<PlistValue> read =
            PropertyList::readFile(HBPreferences::pathForIdentifier(HBPreferences::kIdentifier));
        return read ? read.value() : PlistValue();
    }

    static PlistValue records(int count) {
        PlistValue list = PlistValue::array();
        for (int i = 0; i < count; ++i) {
            PlistValue record = PlistValue::dictionary();
            record.set("hexColor", PlistValue("#000000"));
            list.append(record);
        }
        return list;
    }

    static void drag(UISlider& slider, float value, TouchRelease release) {
        slider.userChangedValue(value);
        slider.userEndedTracking(release);
    }

    TemporaryDeviceRoot device;
    std::shared_ptr<HBColorSelectorController> page;
    std::unique_ptr<HeadlessHost> host;
};
