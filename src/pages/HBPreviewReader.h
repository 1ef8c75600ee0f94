#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "pages/HBPreviewDescription.h"
#include "platform/foundation/PlistValue.h"
#include "platform/ui/UIColor.h"

class HBPreferences;

// What one panel of a preview shows: the label every row gets, whether labels and the unread
// count show, and the colour of each row (none: the row has no label).
struct HBPanelState {
    HBPreviewScene scene = HBPreviewScene::MessageRows;
    HBLabelSettings label;
    bool labelsShown = true;
    bool countShown = true;
    bool countColored = false;
    std::vector<std::optional<UIColor>> rowColors;

    bool operator==(const HBPanelState&) const = default;
};

// Everything a preview draws; two equal states draw the same picture.
struct HBPreviewState {
    bool dark = false;
    std::vector<HBPanelState> panels;

    bool operator==(const HBPreviewState&) const = default;
};

// Reads what a preview shows from the settings store, the values the user is dragging right
// now, and the defaults of the rows that hold the keys. It never writes.
class HBPreviewReader {
  public:
    // Values of sliders being dragged, by settings key.
    using LiveValues = std::map<std::string, double, std::less<>>;

    explicit HBPreviewReader(HBPreviewDescription description);

    const HBPreviewDescription& description() const { return _description; }
    // The store is only read (the filter lists it is handed to take it as it is).
    HBPreviewState read(HBPreferences& store, const LiveValues& live) const;

  private:
    struct Source {
        HBPreferences& store;
        const LiveValues& live;
    };

    void loadDefaults(const std::string& description);
    PlistValue setting(const std::string& key, const Source& source) const;
    std::int64_t integer(const std::string& key, std::int64_t fallback, const Source& source) const;
    bool flag(const std::string& key, bool fallback, const Source& source) const;
    HBPreviewKeys keysInEffect(const HBPreviewPanel& panel, const Source& source) const;
    HBPanelState readPanel(const HBPreviewPanel& panel, const Source& source) const;
    std::vector<std::optional<UIColor>> rowColors(const HBPreviewPanel& panel,
                                                  HBPreferences& store) const;

    HBPreviewDescription _description;
    // The Mail accounts' shown names, read once: accounts do not change while a page is open.
    std::vector<std::string> _accounts;
    std::map<std::string, PlistValue, std::less<>> _defaults;
};
