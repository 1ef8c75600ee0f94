#include "filters/HBFilterSounds.h"

#include "filters/FilterPageFixture.h"
#include "filters/HBFilterSelectorController.h"
#include "filters/HBToneCatalogue.h"
#include "platform/system/SystemSoundServices.h"
#include "platform/system/TLToneManager.h"
#include "platform/ui/UILabel.h"
#include "support/Golden.h"

namespace {

PlistValue tone(const char* identifier, const char* name, const char* file) {
    PlistValue entry = PlistValue::dictionary();
    entry.set("identifier", identifier);
    if (name) {
        entry.set("name", name);
    }
    entry.set("file", file);
    return entry;
}

class FilterSoundsTest : public ::testing::Test, protected FilterPageFixture {
  protected:
    void SetUp() override { SystemSoundServices::shared().clearPlayLog(); }
    void TearDown() override {
        HBFilterSounds::stopPreview();
        host.reset();
    }

    void writeFile(const std::string& devicePath) {
        TemporaryDeviceRoot::write(device.resolve(devicePath), "sound");
    }

    // A small library: names out of order and in mixed case, a nameless tone, ringtones in
    // a subfolder, with a space and beside a file that is not a ringtone.
    void writeLibrary() {
        PlistValue list = PlistValue::dictionary();
        list.set("AlertTones", PlistValue::Array{tone("alert:z", "zebra", "z.wav"),
                                                 tone("alert:a", "Apple", "a.wav"),
                                                 tone("alert:n", nullptr, "n.wav")});
        list.set("InstalledTones", PlistValue::Array{tone("itunes:b", "beta", "b.wav"),
                                                     tone("itunes:a", "Alpha", "alpha.wav"),
                                                     tone("itunes:x", "", "x.wav")});
        TemporaryDeviceRoot::write(device.resolve(std::string(TLToneManager::kTonesPath)),
                                   PropertyList::toXml(list).value());
        for (const char* file : {"z.wav", "a.wav", "b.wav", "alpha.wav"}) {
            writeFile(std::string(TLToneManager::kTonesDirectory) + "/" + file);
        }
        for (const char* file : {"Bells.m4r", "Pack/Chime.m4r", "Old Phone.m4r", "notes.txt"}) {
            writeFile(std::string(TLToneManager::kRingtonesDirectory) + "/" + file);
        }
    }

    // Opens the editor of a new filter and its alert sound picker.
    void openPicker() {
        PlistValue settings = PlistValue::dictionary();
        settings.set("filtersEnabled",
                     PlistValue(PlistValue::Array{HBFilterKind::messages().newRecord()}));
        writeSettings(settings);
        show(std::make_shared<HBFilterSelectorController>(0));
        ASSERT_EQ(host->visibleSections()[0].rows.at(9).text, "Alert Sound");
        ASSERT_TRUE(host->tapRow(0, 9));
        picker = dynamic_cast<HBFilterSounds*>(host->topPage());
        ASSERT_NE(picker, nullptr);
    }

    long rowTitled(const std::string& title) {
        auto rows = host->visibleSections().at(0).rows;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].text == title) {
                return static_cast<long>(i);
            }
        }
        ADD_FAILURE() << "no row " << title;
        return 0;
    }

    std::vector<std::string> playedPaths() {
        std::vector<std::string> paths;
        for (const auto& play : SystemSoundServices::shared().playLog()) {
            paths.push_back(play.path);
        }
        return paths;
    }

    HBFilterSounds* picker = nullptr;
};

TEST_F(FilterSoundsTest, CatalogueSortsEachSectionAndCountsItsHeaders) {
    writeLibrary();
    HBToneCatalogue catalogue = HBToneCatalogue::build();
    EXPECT_EQ(catalogue.titles,
              (std::vector<std::string>{"", "Default", "Silent", "Alpha", "beta", "", "Apple",
                                        "zebra", "", "Bells", "Old Phone", "Pack/Chime"}));
    PlistValue::Array values;
    for (const char* value : {"<INSTALLED TONES>", "HBDefault", "HBSilent", "itunes:a", "itunes:b",
                              "<ALERT TONES>", "alert:a", "alert:z", "<RINGTONES>", "system:Bells",
                              "system:Old Phone", "system:Pack/Chime"}) {
        values.emplace_back(value);
    }
    EXPECT_EQ(catalogue.values, values);
    EXPECT_EQ(catalogue.indexes, (std::array<long, 3>{5, 3, 4}));
}

TEST_F(FilterSoundsTest, WithoutAnyTonesOnlyTheFixedChoicesRemain) {
    HBToneCatalogue catalogue = HBToneCatalogue::build();
    EXPECT_EQ(catalogue.titles, (std::vector<std::string>{"", "Default", "Silent", "", ""}));
    EXPECT_EQ(catalogue.indexes, (std::array<long, 3>{3, 1, 1}));
}

TEST_F(FilterSoundsTest, PickerDrawsHeadersAndStoresTheChoiceInTheRecord) {
    writeLibrary();
    openPicker();
    expectMatchesGolden("filters/sound-picker.txt", host->dump());
    for (long header : {0L, 5L, 8L}) {
        UITableViewCellPtr cell = host->cellAt(0, header);
        auto* label = dynamic_cast<UILabel*>(cell->contentView()->viewWithTag(header + 26425));
        ASSERT_NE(label, nullptr) << header;
        EXPECT_FALSE(cell->isUserInteractionEnabled());
        EXPECT_EQ(HeadlessHost::describeColor(label->textColor()), "#6D6D6D");
    }
    EXPECT_EQ(picker->headerTitle(8), "RINGTONES");
    EXPECT_EQ(host->cellAt(0, 3)->layoutMargins().left, 45);
    EXPECT_FALSE(host->tapRow(0, 5));  // headers are no choices

    host->tapRow(0, rowTitled("Silent"));
    EXPECT_EQ(onDisk()["filtersEnabled"][0]["alertSound"], PlistValue("HBSilent"));
    host->tapRow(0, rowTitled("Pack/Chime"));
    EXPECT_EQ(onDisk()["filtersEnabled"][0]["alertSound"], PlistValue("system:Pack/Chime"));
    host->goBack();
    EXPECT_EQ(host->visibleSections()[0].rows.at(9).detail, "Pack/Chime");
}

TEST_F(FilterSoundsTest, OnePreviewPlaysAtATime) {
    writeLibrary();
    openPicker();
    // "Default" and "Silent" have no file: nothing plays, nothing fails.
    host->tapRow(0, rowTitled("Default"));
    EXPECT_FALSE(HBFilterSounds::isPreviewPlaying());
    EXPECT_TRUE(playedPaths().empty());

    host->tapRow(0, rowTitled("zebra"));
    ASSERT_TRUE(HBFilterSounds::isPreviewPlaying());
    SystemSoundID first = HBFilterSounds::previewSoundID();
    host->tapRow(0, rowTitled("Old Phone"));
    EXPECT_NE(HBFilterSounds::previewSoundID(), first);
    EXPECT_EQ(SystemSoundServices::shared().soundCount(), 1u);  // the first was disposed of
    EXPECT_EQ(playedPaths(), (std::vector<std::string>{"/var/mobile/Library/Tones/z.wav",
                                                       "/Library/Ringtones/Old Phone.m4r"}));

    // A preview that ends by itself clears up after itself.
    host->advanceClock(SystemSoundServices::kDefaultDuration + 0.1);
    EXPECT_FALSE(HBFilterSounds::isPreviewPlaying());
    EXPECT_EQ(SystemSoundServices::shared().soundCount(), 0u);

    host->tapRow(0, rowTitled("Apple"));
    ASSERT_TRUE(HBFilterSounds::isPreviewPlaying());
    host->goBack();
    EXPECT_FALSE(HBFilterSounds::isPreviewPlaying());
    EXPECT_EQ(SystemSoundServices::shared().soundCount(), 0u);
}

}  // namespace
