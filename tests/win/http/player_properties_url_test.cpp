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

class AddressProperties : public SheetTest {
protected:
    void Open(const std::string& address) {
        ASSERT_NO_FATAL_FAILURE(OpenTrackProperties(address, 10000));
        ASSERT_EQ(WindowText(main_), "Quavera - stereo128 (stopped)");
    }
};

TEST_F(AddressProperties, SkippedScanShowsNothingAvailable) {
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 1);
    const std::string address = TestUrl("files", "stereo128.mp3");
    ASSERT_NO_FATAL_FAILURE(Open(address));
    EXPECT_EQ(ItemText(Page(kTagPage), kTitle), "---");
    const HWND page = Page(kPropertiesPage);
    EXPECT_EQ(ItemText(page, kFileName), address);
    EXPECT_EQ(ItemText(page, kFileDuration), "Not available!");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), "Not available!");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kPlaybackDuration)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kDurationSpin)));
    SaveScreenshot(sheet_, "track-properties-address");
    const HWND statistics = Page(kStatisticsPage);
    for (const int row : kStatisticsRows) EXPECT_EQ(ItemText(statistics, row), "Not available!") << row;
    Close(IDOK);
}

TEST_F(AddressProperties, ScannedAddressIsReadThroughItsOwnReader) {
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 0);
    ASSERT_NO_FATAL_FAILURE(Open(TestUrl("files", "stereo128.mp3")));
    const HWND page = Page(kPropertiesPage);
    EXPECT_NE(ItemText(page, kFileDuration), "Not available!");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), ItemText(page, kFileDuration));
    const HWND statistics = Page(kStatisticsPage);
    EXPECT_EQ(ItemText(statistics, kType), "MPEG 1 Audio Layer III");
    EXPECT_EQ(ItemText(statistics, kBitrate), "128kBit/sec");
    Close(IDCANCEL);
}

} // namespace
} // namespace quavera::test
