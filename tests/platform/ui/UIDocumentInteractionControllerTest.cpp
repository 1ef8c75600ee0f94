#include "platform/ui/UIDocumentInteractionController.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ui/UIApplication.h"
#include "support/TemporaryDeviceRoot.h"

namespace {

class ShareTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TemporaryDeviceRoot::write(device.resolve("/var/mobile/settings.plist"), "<plist/>");
        (void)UIDocumentInteractionController::takePresentedShares();
    }

    TemporaryDeviceRoot device;
    const std::filesystem::path& root = device.path();
    UIView view{CGRectMake(0, 0, 390, 844)};
};

TEST_F(ShareTest, AnExistingFileIsOfferedAndRecordedForTheHost) {
    auto controller = UIDocumentInteractionController::interactionControllerWithURL(
        NSURL::fileURLWithPath("/var/mobile/settings.plist"));
    EXPECT_TRUE(controller->presentOptionsMenuFromRect(view.bounds(), &view, true));
    EXPECT_TRUE(controller->isPresentingOptionsMenu());
    auto shares = UIDocumentInteractionController::takePresentedShares();
    ASSERT_EQ(shares.size(), 1u);
    EXPECT_EQ(shares[0].hostPath, (root / "var/mobile/settings.plist").string());
    EXPECT_EQ(shares[0].url.path(), "/var/mobile/settings.plist");
    EXPECT_TRUE(UIDocumentInteractionController::presentedShares().empty());
}

TEST_F(ShareTest, NothingToShareIsRefused) {
    for (const NSURL& url :
         {NSURL::fileURLWithPath("/var/mobile/missing.plist"),
          NSURL::fileURLWithPath("/var/mobile"),
          *NSURL::URLWithString("https://example.org/var/mobile/settings.plist")}) {
        auto controller = UIDocumentInteractionController::interactionControllerWithURL(url);
        EXPECT_FALSE(controller->presentOptionsMenuFromRect(view.bounds(), &view, true))
            << url.absoluteString();
    }
    EXPECT_TRUE(UIDocumentInteractionController::presentedShares().empty());
}

TEST(NSURL, ParsesWebAddressesAndRefusesText) {
    auto url = NSURL::URLWithString("https://example.org/repo/html/f/page.htm?x=1");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "https");
    EXPECT_EQ(url->host(), "example.org");
    EXPECT_EQ(url->path(), "/repo/html/f/page.htm");
    EXPECT_FALSE(NSURL::URLWithString(""));
    EXPECT_FALSE(NSURL::URLWithString("no scheme here"));
    EXPECT_FALSE(NSURL::URLWithString("https://example.org/a b"));
    EXPECT_EQ(NSURL::fileURLWithPath("/a/b c?.plist").path(), "/a/b c?.plist");
}

TEST(UIApplication, OpenedURLsWaitForTheHostToTakeThem) {
    auto& application = UIApplication::sharedApplication();
    (void)application.takeOpenedURLs();
    EXPECT_TRUE(application.openURL(*NSURL::URLWithString("https://example.org/a")));
    EXPECT_TRUE(application.openURL(*NSURL::URLWithString("https://example.org/b")));
    auto opened = application.takeOpenedURLs();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].absoluteString(), "https://example.org/b");
    EXPECT_TRUE(application.openedURLs().empty());
}

}  // namespace
