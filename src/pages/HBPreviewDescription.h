#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pages/HBLabelMeaning.h"

// The places in Mail that an option page's preview draws.
enum class HBPreviewScene { MailboxRows, MessageRows, MessageHeader, Toolbar };

// Whose colours the labels of a preview show.
enum class HBPreviewColors { Accounts, MessageFilters, FolderFilters1, FolderFilters2 };

// How a scene is laid out and what it fixes itself: its row height, the edge each stored
// position value names, and the width and alpha level of scenes whose page sets none.
struct HBSceneLayout {
    double rowHeight = 44;
    std::vector<HBLabelEdge> edges;
    double fixedWidth = 0;
    std::int64_t fixedAlphaLevel = 100;

    static const HBSceneLayout& of(HBPreviewScene scene);
};

// The settings keys that shape one kind of label, and the page description whose rows hold
// them (their defaults come from there). An empty key is a setting the page does not have:
// the scene's own choice applies.
struct HBPreviewKeys {
    std::string description{};
    // Labels show only while this switch is on.
    std::string enabled{};
    std::string type{};
    std::string width{};
    std::string alpha{};
    std::string position{};
    std::string fadeOut{};
    std::string length{};
    // The unread count shows only while this switch is on; it takes the label's colour while
    // countColored is on.
    std::string countShown{};
    std::string countColored{};

    // These keys, with every empty one taken from the other set.
    HBPreviewKeys filledFrom(const HBPreviewKeys& other) const;
};

// One drawing of a preview: a scene with a few rows, labelled with one set's colours.
struct HBPreviewPanel {
    HBPreviewScene scene = HBPreviewScene::MessageRows;
    HBPreviewColors colors = HBPreviewColors::Accounts;
    HBPreviewKeys keys;
    long rows = 3;
    // While this switch is on, or not set, the labels take their look from accountKeys
    // (whether they show at all still follows keys.enabled).
    std::string accountSettingsSwitch;
    std::optional<HBPreviewKeys> accountKeys;
};

// What an option page's preview shows, panel below panel; no panels for no preview.
struct HBPreviewDescription {
    std::vector<HBPreviewPanel> panels;

    bool empty() const { return panels.empty(); }

    static HBPreviewDescription accountsMailbox();
    static HBPreviewDescription accountsList();
    static HBPreviewDescription accountsMessage();
    static HBPreviewDescription filtersList();
    static HBPreviewDescription filtersMessage();
    static HBPreviewDescription reminders();
    static HBPreviewDescription unreadToolbar();
    // Folder filter set 1 (type 0) or 2 (any other type).
    static HBPreviewDescription folderFilters(long type);
};
