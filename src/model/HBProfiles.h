#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"

class HBPreferences;

// Named copies of the whole settings table, kept as "net.quorvel.huebadge_NAME.plist" beside
// the settings file: the rules for their names, the listing, and saving, loading, resetting,
// deleting and importing. Works on the store given; shows nothing.
class HBProfiles {
  public:
    // One profile file as listed: its name and the stamp it was saved with ("" when none).
    struct Profile {
        std::string profileName;
        std::string lastModified;
    };
    // How an operation ended. A failure may say more than the operation's title.
    struct Outcome {
        bool done = true;
        std::optional<std::string> detail;

        static Outcome success() { return {}; }
        static Outcome failure(std::optional<std::string> detail) {
            return {false, std::move(detail)};
        }
    };
    // A brought-in file ready to become a profile.
    struct Import {
        std::string name;
        PlistValue table;
    };

    // Profile names refused before anything is written make file names longer than this
    // (in UTF-8 bytes) impossible, with room left for the prefix and temporary names.
    static constexpr std::size_t kMaxProfileNameBytes = 200;

    explicit HBProfiles(HBPreferences& store) : _store(store) {}

    // Why a typed name cannot be a profile's; none when it can. Names go into file names as
    // typed, so anything that could leave the preferences folder, hide the file or make one
    // that cannot be listed back is refused.
    static std::optional<std::string> problemWithProfileName(std::string_view name);
    // The device path of the file a profile of that name is kept in, and the file's name.
    static std::string profilePath(std::string_view name);
    static std::string profileFileName(std::string_view name);
    // The name of the settings file itself.
    static std::string settingsFileName();
    static const char* preferencesFolder();

    // The profile files of the preferences folder, sorted by name without regard to case.
    std::vector<Profile> list() const;
    bool exists(std::string_view name) const;
    // The settings in use as the profile list shows them: the profile they were saved as
    // ("NAME (Unsaved)" once changed, "Unsaved" when never saved) and their stamp.
    Profile current() const;
    // The name the settings in use were last saved under; "" when none.
    std::string currentName() const;

    // Saves the settings in use as the named profile and names it in the settings file.
    Outcome save(const std::string& name);
    // Makes the named profile the settings in use; on failure they stay as they were.
    Outcome load(const std::string& name);
    // Empties the settings in use; on failure they stay as they were.
    Outcome reset();
    Outcome remove(const std::string& name);

    // Reads a brought-in file: a property list whose root is a dictionary, named by its
    // "profileName", else by the file's name, under the rules for a typed name.
    static Result<Import> readImport(std::string_view fileName, std::string_view bytes);
    // Writes a read import as a profile; the settings in use are not touched.
    static Outcome writeImport(Import import);

  private:
    std::string lastSaveFailureText() const;

    HBPreferences& _store;
};
