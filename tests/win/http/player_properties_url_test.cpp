// The track properties of an address the player streams: read through a
// reader of their own, or not at all when the settings skip the scan of
// such files.
#include <gtest/gtest.h>

#include <windows.h>

#include "http_test_support.h"
#include "player_driver.h"
#include "property_sheets.h"

namespace quavera::test {
namespace {

constexpr int kStatisticsRows[] = {kType, kFrequency, kChannelMode, kBitrate, kPackRatio, kDescription};

class AddressProperties : public PlayerTest {
protected:
    // The properties of the address the player has opened.
    HWND Open(PlayerProcess& player) {
        const HWND main = player.WaitForMainWindow();
        if (!main || !WaitUntil([&] { return WindowText(main) == "Quavera - stereo128 (stopped)"; }, 10000))
            return nullptr;
        DoubleClick(main, kTrackName);
        return player.WaitForBox(kTrackCaption);
    }
};

TEST_F(AddressProperties, SkippedScanShowsNothingAvailable) {
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 1);
    const std::string address = TestUrl("files", "stereo128.mp3");
    PlayerProcess player(address);
    const HWND sheet = Open(player);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kTagPage);
    EXPECT_EQ(ItemText(page, kTitle), "---");
    page = ShowPage(sheet, kPropertiesPage);
    EXPECT_EQ(ItemText(page, kFileName), address);
    EXPECT_EQ(ItemText(page, kFileDuration), "Not available!");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), "Not available!");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kPlaybackDuration)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kDurationSpin)));
    SaveScreenshot(sheet, "track-properties-address");
    page = ShowPage(sheet, kStatisticsPage);
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
    HWND page = ShowPage(sheet, kPropertiesPage);
    EXPECT_NE(ItemText(page, kFileDuration), "Not available!");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), ItemText(page, kFileDuration));
    page = ShowPage(sheet, kStatisticsPage);
    EXPECT_EQ(ItemText(page, kType), "MPEG 1 Audio Layer III");
    EXPECT_EQ(ItemText(page, kBitrate), "128kBit/sec");
    Click(sheet, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }, 3000));
}

} // namespace
} // namespace quavera::test
