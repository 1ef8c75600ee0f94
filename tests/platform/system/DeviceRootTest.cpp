#include "platform/system/DeviceRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <random>

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

std::vector<std::string> choose(std::vector<std::string> arguments, bool* accepted = nullptr) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());
    bool ok = DeviceRoot::chooseFromArguments(argc, argv.data());
    if (accepted) {
        *accepted = ok;
    }
    return std::vector<std::string>(argv.begin(), argv.begin() + argc);
}

}  // namespace

TEST(DeviceRoot, ResolvesDevicePathsUnderTheRoot) {
    DeviceRoot::set("/tmp/device/");
    EXPECT_EQ(DeviceRoot::resolve("/var/mobile/Library/Preferences/x.plist"),
              "/tmp/device/var/mobile/Library/Preferences/x.plist");
    EXPECT_EQ(DeviceRoot::resolve("Library//./Ringtones/"), "/tmp/device/Library/Ringtones");
    EXPECT_EQ(DeviceRoot::resolve("/var/mobile/Library/Preferences/net_../../../x.plist"),
              "/tmp/device/var/mobile/Library/x.plist");
    DeviceRoot::set("/");
    EXPECT_EQ(DeviceRoot::resolve("/Library/../Ringtones"), "/Ringtones");
}

TEST(DeviceRoot, NoDevicePathLeavesTheRoot) {
    DeviceRoot::set("/tmp/device");
    const char* segments[] = {"..", ".", "", "a", "b..", "...", "..c"};
    std::mt19937 random(7);
    for (int trial = 0; trial < 2000; ++trial) {
        std::string path;
        for (int n = random() % 8; n >= 0; --n) {
            path += std::string(random() % 2 ? "/" : "") + segments[random() % 7];
        }
        std::string resolved = DeviceRoot::resolve(path);
        ASSERT_TRUE(resolved == "/tmp/device" || resolved.starts_with("/tmp/device/")) << path;
        ASSERT_EQ((resolved + "/").find("/../"), std::string::npos) << path;
    }
}

TEST(DeviceRoot, DefaultFollowsTheDataHome) {
    ScopedEnvironment home("HOME", "/home/tester");
    {
        ScopedEnvironment data("XDG_DATA_HOME", "/data/");
        EXPECT_EQ(DeviceRoot::defaultDirectory(), "/data/huebadge/device");
    }
    {
        ScopedEnvironment data("XDG_DATA_HOME", "relative");
        EXPECT_EQ(DeviceRoot::defaultDirectory(), "/home/tester/.local/share/huebadge/device");
    }
    ScopedEnvironment data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(DeviceRoot::defaultDirectory(), "/home/tester/.local/share/huebadge/device");
}

TEST(DeviceRoot, ArgumentsWinOverTheEnvironment) {
    ScopedEnvironment variable("HUEBADGE_DEVICE_ROOT", "/from/environment");
    EXPECT_EQ(choose({"tool", "post", "--device-root", "/from/option", "NAME"}),
              (std::vector<std::string>{"tool", "post", "NAME"}));
    EXPECT_EQ(DeviceRoot::directory(), "/from/option");
    EXPECT_EQ(choose({"tool", "post", "NAME"}).size(), 3u);
    EXPECT_EQ(DeviceRoot::directory(), "/from/environment");
    // After "--" the option is an operand.
    EXPECT_EQ(choose({"tool", "--", "--device-root", "x"}).size(), 4u);
    // Without its value the option is refused and the root stays as it was.
    bool accepted = true;
    EXPECT_EQ(choose({"tool", "post", "--device-root"}, &accepted).size(), 3u);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(DeviceRoot::directory(), "/from/environment");
}

TEST(DeviceRoot, MountedFoldersResolveOutsideEveryRoot) {
    // Mounts last for the process, so the folder they name is static.
    static std::string host = "/opt/bundle";
    DeviceRoot::mount("/Test/Mounted.bundle/", [] { return host + "/"; });
    for (const char* root : {"/first", "/second"}) {
        DeviceRoot::set(root);
        EXPECT_EQ(DeviceRoot::resolve("/Test/Mounted.bundle/a.png"), "/opt/bundle/a.png");
        EXPECT_EQ(DeviceRoot::resolve("/Test//./Mounted.bundle"), "/opt/bundle");
        // Paths are normalised first: one that climbs out of the mount is a device path again.
        // A sibling name is no part of the mount.
        EXPECT_EQ(DeviceRoot::resolve("/Test/Mounted.bundle/../../x"), std::string(root) + "/x");
        EXPECT_EQ(DeviceRoot::resolve("/Test/Mounted.bundle/a/../../b"),
                  std::string(root) + "/Test/b");
        EXPECT_EQ(DeviceRoot::resolve("/Test/Mounted.bundlex/a"),
                  std::string(root) + "/Test/Mounted.bundlex/a");
    }
    host = "/elsewhere";  // asked on every use
    EXPECT_EQ(DeviceRoot::resolve("/Test/Mounted.bundle/a.png"), "/elsewhere/a.png");
}
