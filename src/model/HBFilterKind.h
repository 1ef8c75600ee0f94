#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"

class HBPreferences;

// One matched field of a filter record: its pattern key, the key of its match type (0 = OR,
// 1 = AND) and the word the search formula uses for it.
struct HBFilterField {
    std::string key;
    std::string matchTypeKey;
    std::string word;
    // Patterns must compile as case-insensitive regular expressions before they are stored.
    bool isPattern = true;
    // A list of addresses (To, Cc): the pattern is tried on each address in it.
    bool isRecipientList = false;
};

// Where a row preview takes its alpha level from: the key and its default.
struct HBAlphaLevelSource {
    std::string key;
    std::int64_t defaultLevel = 0;
};

// The alpha levels of a colour's three label previews (mailbox list, message list, message
// view); a preview without a key is not shown (opacity 0).
struct HBPreviewLevels {
    HBAlphaLevelSource mailBox;
    HBAlphaLevelSource list;
    HBAlphaLevelSource message;
};

// What makes one kind of filter list differ from another: the list pages and the editor are
// written once over this description (message filters, and each set of folder filters).
struct HBFilterKind {
    std::string enabledKey;
    std::string disabledKey;
    // In formula and title order.
    std::vector<HBFilterField> fields;
    HBAlphaLevelSource alphaLevel;
    // When this setting is on, previews use accountAlphaLevel instead; empty for none.
    std::string accountSettingsSwitch;
    HBAlphaLevelSource accountAlphaLevel;
    // The levels of the colour page's previews of a record's colour.
    HBPreviewLevels colorPreviewLevels;
    // Rows show the record's alert sound as an image.
    bool showsSoundImages = false;
    // The switch that makes a recipient list match only when every address in it matches
    // (else any address does); none for kinds without recipient lists.
    std::string matchEveryRecipientKey;
    // The editor's rows and the title of its colour row ("%d" stands for the record index).
    std::string editorDescription;
    std::string colorRowFormat;

    // Message filters: From, To, Cc, Subject.
    static const HBFilterKind& messages();
    // Folder filters: set 1 for type 0, set 2 for any other type.
    static const HBFilterKind& folders(long type);
    // Every kind, the ones whose colour row titles extend another's first.
    static std::span<const HBFilterKind* const> all();
    // The previews of an account's colour, which filters follow when told to.
    static const HBPreviewLevels& accountPreviewLevels();

    // The keys a row title is taken from, in order: the name, then the fields.
    std::vector<std::string> titleKeys() const;
    const HBFilterField* fieldForKey(const std::string& key) const;
    const HBFilterField* fieldForMatchTypeKey(const std::string& key) const;
    // A fresh record: every field "", every match type 0, a white colour.
    PlistValue newRecord() const;
    // The alpha level previews use now.
    std::int64_t previewAlphaLevel(const HBPreferences& store) const;
    // The levels the colour page's previews use now.
    const HBPreviewLevels& colorPreviewLevelsNow(const HBPreferences& store) const;
    std::string colorRowTitle(long row) const;
    // The inverse of colorRowTitle: the record index a title names, none when the title is
    // not one of this kind's colour rows.
    std::optional<long> colorRowIndex(std::string_view title) const;
};
