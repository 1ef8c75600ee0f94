#include "platform/prefs/PSPageDescription.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "platform/foundation/PropertyList.h"
#include "platform/prefs/PSBundle.h"
#include "platform/prefs/PSClasses.h"

namespace {

namespace fs = std::filesystem;

PlistValue item(PlistValue::Dictionary entries) {
    return PlistValue(std::move(entries));
}

PlistValue page(PlistValue::Array items) {
    PlistValue root = PlistValue::dictionary();
    root.set("title", "Test");
    root.set("items", PlistValue(std::move(items)));
    return root;
}

std::string errorOf(const PlistValue& root) {
    auto result = PSPageDescription::fromPlist(root, "Broken.plist", nullptr);
    return result ? std::string() : result.error();
}

// Every description the pane ships must load; rows that open page classes nobody has
// registered yet are listed so that none is forgotten.
TEST(PSPageDescription, EveryShippedDescriptionLoads) {
    fs::path folder = fs::path(HUEBADGE_SOURCE_DIR) / "resources";
    PSBundle::setResourcesDirectory(folder.string());
    std::error_code error;
    int found = 0;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::directory_entry& entry = *it;
        if (entry.path().extension() != ".plist") {
            continue;
        }
        ++found;
        std::string name = entry.path().stem().string();
        auto description = PSPageDescription::load(name, nullptr);
        if (!description) {
            ADD_FAILURE() << description.error();
            continue;
        }
        for (const PSSpecifierPtr& row : description->specifiers) {
            const std::string& detail = row->detailControllerClass();
            if (!detail.empty() && !PSControllerClasses::contains(detail)) {
                std::cout << "note: " << name << ".plist row \"" << row->name()
                          << "\" opens the page class " << detail << ", not built yet\n";
            }
        }
    }
    EXPECT_FALSE(error) << folder << ": " << error.message();
    EXPECT_GT(found, 0) << "no page descriptions in " << folder;
}

TEST(PSPageDescription, BrokenDescriptionsNameTheFileAndTheRow) {
    EXPECT_EQ(errorOf(page({item({{"cell", "PSFancyCell"}, {"label", "Width"}})})),
              "Broken.plist: item 0 (\"Width\") names the unknown cell type \"PSFancyCell\"");
    EXPECT_EQ(errorOf(page({item({{"cell", "PSGroupCell"}}),
                            item({{"cell", "PSLinkCell"}, {"cellClass", "HBNoSuchCell"}})})),
              "Broken.plist: item 1 names the unknown cell class \"HBNoSuchCell\"");
    PlistValue choices =
        item({{"cell", "PSLinkListCell"},
              {"label", "Type"},
              {"validValues", PlistValue::Array{PlistValue::integer(0), PlistValue::integer(1)}},
              {"validTitles", PlistValue::Array{"OR"}}});
    EXPECT_EQ(errorOf(page({choices})),
              "Broken.plist: item 0 (\"Type\") has 2 \"validValues\" but 1 \"validTitles\"");
    EXPECT_NE(
        errorOf(page({item({{"cell", "PSLinkListCell"}, {"validValues", PlistValue::Array{}}})})),
        "");
    EXPECT_NE(errorOf(page({item({{"label", "No cell"}})})), "");
    EXPECT_NE(errorOf(page({item({{"cell", "PSSliderCell"}, {"max", "255"}})})), "");
    EXPECT_NE(errorOf(page({"not a row"})), "");
    EXPECT_NE(errorOf(PlistValue::array()), "");
}

// Each value of every shipped description (the page's own and each row's) given each wrong
// type in turn: the description loads or is refused naming its file, and nothing crashes.
TEST(PSPageDescription, EveryShippedDescriptionWithWrongTypedValues) {
    fs::path folder = fs::path(HUEBADGE_SOURCE_DIR) / "resources";
    PSBundle::setResourcesDirectory(folder.string());
    const PlistValue wrongs[] = {
        PlistValue("x"),          PlistValue::integer(-1),
        PlistValue::real(1e300),  PlistValue::boolean(true),
        PlistValue::date(0),      PlistValue::data({1, 2}),
        PlistValue::array(),      PlistValue::Array{"a", PlistValue::integer(1)},
        PlistValue::dictionary(),
    };
    std::size_t cases = 0;
    auto expectLoadsOrNamesFile = [&](const PlistValue& root, const std::string& file,
                                      const std::string& where) {
        ++cases;
        auto description = PSPageDescription::fromPlist(root, file, nullptr);
        if (!description) {
            EXPECT_EQ(description.error().rfind(file + ": ", 0), 0u) << where;
        }
    };
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".plist") {
            continue;
        }
        std::string file = entry.path().filename().string();
        Result<PlistValue> root = PropertyList::readFile(entry.path().string());
        ASSERT_TRUE(root) << root.error();
        for (const auto& [key, value] : *root->dictionaryValue()) {
            for (const PlistValue& wrong : wrongs) {
                PlistValue changed = root.value();
                changed.set(key, wrong);
                expectLoadsOrNamesFile(changed, file, file + " " + key);
            }
        }
        const PlistValue::Array* items = root.value()["items"].arrayValue();
        for (std::size_t i = 0; items && i < items->size(); ++i) {
            const PlistValue::Dictionary* row = (*items)[i].dictionaryValue();
            for (const auto& [key, value] : row ? *row : PlistValue::Dictionary{}) {
                for (const PlistValue& wrong : wrongs) {
                    PlistValue changed = root.value();
                    changed.mutableDictionary()["items"].mutableArray()[i].set(key, wrong);
                    expectLoadsOrNamesFile(changed, file,
                                           fmt::format("{} item {} {}", file, i, key));
                }
            }
        }
    }
    EXPECT_GT(cases, 100u);
}

TEST(PSPageDescription, BrokenFileFromTheResourcesFolder) {
    fs::path folder = fs::temp_directory_path() / "huebadge-description-test";
    fs::create_directories(folder);
    Result<std::string> xml =
        PropertyList::toXml(page({item({{"cell", "PSSwitchCell"}, {"label", "A"}}),
                                  item({{"cell", "PSToggleCell"}, {"label", "B"}})}));
    ASSERT_TRUE(xml);
    std::ofstream(folder / "HBBroken.plist") << xml.value();
    PSBundle::setResourcesDirectory(folder.string());
    auto description = PSPageDescription::load("HBBroken", nullptr);
    ASSERT_FALSE(description);
    EXPECT_NE(description.error().find("HBBroken.plist: item 1 (\"B\")"), std::string::npos);
    EXPECT_FALSE(PSPageDescription::load("HBMissing", nullptr));
    EXPECT_FALSE(PSPageDescription::load("../HBBroken", nullptr));
    fs::remove_all(folder);
}

TEST(PSPageDescription, RowsKeepTheirPropertiesChoicesAndBinding) {
    PlistValue list =
        item({{"cell", "PSLinkListCell"},
              {"label", "Match"},
              {"key", "fromMatchType"},
              {"default", PlistValue::integer(0)},
              {"id", "HBMatch"},
              {"validValues", PlistValue::Array{PlistValue::integer(0), PlistValue::integer(1)}},
              {"validTitles", PlistValue::Array{"OR", "AND"}}});
    PlistValue button = item({{"cell", "PSButtonCell"}, {"label", "Go"}, {"action", "openFAQ"}});
    auto description = PSPageDescription::fromPlist(page({list, button}), "Ok.plist", nullptr);
    ASSERT_TRUE(description) << description.error();
    EXPECT_EQ(description->title, "Test");
    const PSSpecifier& row = *description->specifiers[0];
    EXPECT_EQ(row.name(), "Match");
    EXPECT_EQ(row.cellType(), PSLinkListCell);
    EXPECT_EQ(row.identifier(), "HBMatch");
    EXPECT_EQ(row.detailControllerClass(), "PSListItemsController");
    EXPECT_TRUE(row.hasGetter() && row.hasSetter());
    EXPECT_EQ(row.propertyForKey("default"), PlistValue::integer(0));
    ASSERT_NE(row.titleForValue(PlistValue::integer(1)), nullptr);
    EXPECT_EQ(*row.titleForValue(PlistValue::integer(1)), "AND");
    const PSSpecifier& go = *description->specifiers[1];
    EXPECT_FALSE(go.hasSetter());
    EXPECT_EQ(go.actionName(), "openFAQ");
}

// Stored numbers pick their choice by value whatever their kind, as the platform's numbers
// do; a repeated value keeps one entry with its last title.
TEST(PSSpecifier, ChoicesMatchNumbersByValueAndCollapseRepeats) {
    PSSpecifier row("Type", nullptr, PSLinkListCell);
    row.setValues({PlistValue::integer(0), PlistValue::integer(1), "x", PlistValue::integer(1)},
                  {"Off", "On", "Text", "One"});
    EXPECT_EQ(row.indexOfValue(PlistValue::boolean(true)), 3);
    EXPECT_EQ(row.indexOfValue(PlistValue::real(0.0)), 0);
    EXPECT_EQ(row.indexOfValue(PlistValue("0")), -1);
    EXPECT_EQ(row.titleForValue(PlistValue()), nullptr);
    auto titles = row.titleDictionary();
    ASSERT_EQ(titles.size(), 3u);
    EXPECT_EQ(titles[1].second, "One");
    row.setProperty("k", "key");
    row.setProperty(PlistValue(), "key");
    EXPECT_TRUE(row.properties().empty());
}

}  // namespace
