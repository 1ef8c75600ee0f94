#include "PaneRequests.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "DemoDevice.h"
#include "platform/dispatch/RunLoop.h"
#include "platform/foundation/FileBytes.h"
#include "platform/prefs/PSBundle.h"
#include "platform/system/DeviceRoot.h"
#include "platform/ui/UIScreen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;
using Route = PaneRequests::Route;

std::string demoBytes(const DemoDevice& device) {
    Result<std::string> bytes = FileBytes::read(device.settingsPath());
    return bytes ? bytes.value() : std::string();
}

TEST(PaneRequestFuzzCorpus, EverySeedReplaysWithoutAFault) {
    std::vector<fs::path> seeds;
    for (const auto& entry : fs::directory_iterator(HUEBADGE_SOURCE_DIR "/fuzz/corpus/pane")) {
        seeds.push_back(entry.path());
    }
    ASSERT_GE(seeds.size(), 30u);
    for (const fs::path& seed : seeds) {
        SCOPED_TRACE(seed.filename().string());
        Result<std::string> bytes = FileBytes::read(seed.string());
        ASSERT_TRUE(bytes);
        // A fault aborts the program with the request that showed it.
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes->data()),
                                         bytes->size()),
                  0);
    }
}

TEST(PaneRequests, SplitsAnInputIntoOneRequestALine) {
    struct Case {
        std::string input;
        std::vector<std::pair<Route, std::string>> requests;
    };
    std::string many;
    for (std::size_t i = 0; i < PaneRequests::kMaxRequests + 5; ++i) {
        many += "E{}\n";
    }
    const std::vector<Case> cases = {
        {"", {}},
        {"E{\"type\":\"back\"}", {{Route::Event, "{\"type\":\"back\"}"}}},
        {"I{}\nE[]\n", {{Route::Import, "{}"}, {Route::Event, "[]"}}},
        {"\n\nI", {{Route::Event, ""}, {Route::Event, ""}, {Route::Import, ""}}},
        {"x{}\ni{}", {{Route::Event, "{}"}, {Route::Event, "{}"}}},
        {std::string("I\0\xff\n", 4), {{Route::Import, std::string("\0\xff", 2)}}},
        {many, std::vector<std::pair<Route, std::string>>(PaneRequests::kMaxRequests,
                                                          {Route::Event, "{}"})},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<Route, std::string>> split;
        for (const PaneRequests::Request& request : PaneRequests::split(c.input)) {
            split.emplace_back(request.route, std::string(request.body));
        }
        EXPECT_EQ(split, c.requests) << c.input;
    }
}

class PaneRequestsTest : public ::testing::Test {
  protected:
    void SetUp() override { device_.resetSettings(); }

    DemoDevice device_{HUEBADGE_SOURCE_DIR};
};

TEST_F(PaneRequestsTest, AnswersEachRequestAsTheServerWould) {
    const std::string profile =
        "{\"fileName\":\"Work.plist\",\"data\":\"PHBsaXN0PjxkaWN0PjxrZXk+SG9tZTwva2V5PjxzdHJp"
        "bmc+IzExMjIzMzwvc3RyaW5nPjwvZGljdD48L3BsaXN0Pg==\"}";
    const std::string profiles = "E{\"type\":\"tapRow\",\"section\":0,\"row\":34}";
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<int> statuses;
        // Found in the last answer's error, when it has one.
        std::string error;
        bool settingsChange;
        const char* profileFile;
    };
    const std::vector<Case> cases = {
        {"broken JSON", {"E{\"type\":"}, {400}, "not valid JSON", false, nullptr},
        {"wrong shape",
         {"E{\"type\":\"tapRow\",\"section\":-1,\"row\":0}"},
         {400},
         "\"section\" must be a non-negative integer",
         false,
         nullptr},
        {"impossible event", {"E{\"type\":\"back\"}"}, {400}, "no way back", false, nullptr},
        {"switch turned off",
         {"E{\"type\":\"control\",\"id\":\"v3\",\"event\":\"valueChanged\",\"value\":false}"},
         {200},
         "",
         true,
         nullptr},
        {"import on the first page", {"I" + profile}, {400}, "takes no files", false, nullptr},
        {"import without data",
         {profiles, "I{\"fileName\":\"a.plist\"}"},
         {200, 400},
         "\"fileName\" and \"data\"",
         false,
         nullptr},
        {"import not base64",
         {profiles, "I{\"fileName\":\"a.plist\",\"data\":\"@\"}"},
         {200, 400},
         "not base64",
         false,
         nullptr},
        {"profile imported",
         {profiles, "I" + profile},
         {200, 200},
         "",
         false,
         "net.quorvel.huebadge_Work.plist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        device_.resetSettings();
        std::string before = demoBytes(device_);
        PaneRequests pane(device_.root(), HUEBADGE_RESOURCES_DIR);
        std::vector<int> statuses;
        PaneRequests::Answer last;
        for (const std::string& line : c.lines) {
            last = pane.post(PaneRequests::split(line).at(0));
            statuses.push_back(last.status);
        }
        EXPECT_EQ(statuses, c.statuses);
        EXPECT_NE(last.body.value("error", "").find(c.error), std::string::npos) << last.body;
        EXPECT_EQ(demoBytes(device_) != before, c.settingsChange);
        EXPECT_TRUE(device_.settingsWhole());
        if (c.profileFile) {
            EXPECT_TRUE(fs::exists(fs::path(device_.settingsPath()).parent_path() / c.profileFile));
        }
    }
}

TEST_F(PaneRequestsTest, AnswersALaterScreenAsChangesToTheOneBefore) {
    PaneRequests pane(device_.root(), HUEBADGE_RESOURCES_DIR);
    PaneRequests::Answer first =
        pane.post({Route::Event, R"({"type":"appearance","value":"dark"})"});
    PaneRequests::Answer second =
        pane.post({Route::Event, R"({"type":"appearance","value":"light"})"});
    ASSERT_EQ(first.status, 200);
    ASSERT_EQ(second.status, 200);
    EXPECT_EQ(first.body["appearance"], "dark");
    EXPECT_EQ(second.body["basis"], first.body["screenNumber"]);
    EXPECT_TRUE(second.body["changes"].is_array());
}

TEST_F(PaneRequestsTest, TurnsTheLoopForAFixedSpanAndPutsTheProcessBackAsItWas) {
    std::string root = DeviceRoot::directory();
    std::string resources = PSBundle::resourcesDirectory();
    // Another size and appearance than the pane is shown with.
    UIScreen::mainScreen().setBounds(CGRectMake(0, 0, 320, 568));
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleDark);
    RunLoop::main().useManualClock();
    RunLoop::Nanoseconds start = RunLoop::main().now();
    {
        PaneRequests pane(device_.root(), HUEBADGE_RESOURCES_DIR);
        EXPECT_EQ(DeviceRoot::directory(), device_.root());
        pane.post({Route::Event, R"({"type":"appearance","value":"light"})"});
        EXPECT_EQ(RunLoop::main().now() - start,
                  static_cast<RunLoop::Nanoseconds>(PaneRequests::kTurnsAfterRequest *
                                                    PaneRequests::kTurnSeconds * 1e9));
    }
    EXPECT_EQ(DeviceRoot::directory(), root);
    EXPECT_EQ(PSBundle::resourcesDirectory(), resources);
    EXPECT_EQ(UITraitCollection::current().userInterfaceStyle, UIUserInterfaceStyleDark);
    EXPECT_EQ(UIScreen::mainScreen().bounds().size.width, 320);
    EXPECT_EQ(RunLoop::main().pendingCount(), 0u);
    UIScreen::mainScreen().setBounds(CGRectMake(0, 0, 390, 844));
    UITraitCollection::setCurrentUserInterfaceStyle(UIUserInterfaceStyleLight);
}

}  // namespace
