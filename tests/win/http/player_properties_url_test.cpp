// The track properties of an address the player streams: read through a
// reader of their own, or not at all when the settings skip the scan of
// such files.
#include <gtest/gtest.h>

#include <windows.h>

#include "http_test_support.h"
#include "player_driver.h"

namespace quavera::test {
namespace {

constexpr const char* kCaption = "Stream file properties";
enum Page : int { kTag, kProperties, kStatistics };
enum Control : int {
    kTitle = 1018,
    kFileName = 1121,
    kPlaybackDuration = 1122,
    kDurationSpin = 1123,
    kFileDuration = 1124,
    kType = 1126,
    kBitrate = 1129,
};
constexpr int kStatisticsRows[] = {1126, 1127, 1128, 1129, 1130, 1131};

class AddressProperties : public ::testing::Test {
protected:
    void SetUp() override { ResetPlayerSettings(); }
    void TearDown() override { ResetPlayerSettings(); }

    // The properties of the address the player has opened.
    HWND Open(PlayerProcess& player) {
        const HWND main = player.WaitForMainWindow();
        if (!main || !WaitUntil([&] { return WindowText(main) == "Quavera - stereo128 (stopped)"; }, 10000))
            return nullptr;
        DoubleClick(main, kTrackName);
        return player.WaitForBox(kCaption);
    }
};

TEST_F(AddressProperties, SkippedScanShowsNothingAvailable) {
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 1);
    const std::string address = TestUrl("files", "stereo128.mp3");
    PlayerProcess player(address);
    const HWND sheet = Open(player);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kTag);
    EXPECT_EQ(ItemText(page, kTitle), "---");
    page = ShowPage(sheet, kProperties);
    EXPECT_EQ(ItemText(page, kFileName), address);
    EXPECT_EQ(ItemText(page, kFileDuration), "Not available!");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), "Not available!");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kPlaybackDuration)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kDurationSpin)));
    SaveScreenshot(sheet, "track-properties-address");
    page = ShowPage(sheet, kStatistics);
    for (const int row : kStatisticsRows) EXPECT_EQ(ItemText(page, row), "Not available!") << row;
    Click(sheet, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }, 3000));
}

TEST_F(AddressProperties, ScannedAddressIsReadThroughItsOwnReader) {
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 0);
    const std::string address = TestUrl("files", "stereo128.mp3");
    PlayerProcess player(address);
    const HWND sheet = Open(player);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kProperties);
    EXPECT_NE(ItemText(page, kFileDuration), "Not available!");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), ItemText(page, kFileDuration));
    page = ShowPage(sheet, kStatistics);
    EXPECT_EQ(ItemText(page, kType), "MPEG 1 Audio Layer III");
    EXPECT_EQ(ItemText(page, kBitrate), "128kBit/sec");
    Click(sheet, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }, 3000));
}

} // namespace
} // namespace quavera::test
