// Tests that need the engine to play: they check real captured audio and the
// engine's playing and paused states through the dialog's caption.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "player_driver.h"

namespace quavera::test {
namespace {

bool CaptureHasSound() {
    FILE* file = std::fopen(CapturePath().c_str(), "rb");
    if (!file) return false;
    std::vector<short> samples(1 << 16);
    const std::size_t count = std::fread(samples.data(), sizeof(short), samples.size(), file);
    std::fclose(file);
    int loud = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (samples[i] > 1000 || samples[i] < -1000) ++loud;
    return loud > 1000;
}

class PlayerPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlayerSettings();
        ASSERT_FALSE(CapturePath().empty()) << "QUAVERA_CAPTURE names the capture file of the test session";
    }
    void TearDown() override { ResetPlayerSettings(); }
};

TEST_F(PlayerPlayback, PlayOptionPlaysTheFileAudibly) {
    PlayerProcess player("/play " + StreamPath("tone120.mp2"));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 5000)) << WindowText(main);
    EXPECT_TRUE(IsChecked(main, kPlay));
    EXPECT_TRUE(WaitUntil(CaptureHasSound, 10000));
    SaveScreenshot(main, "main-playing");
}

TEST_F(PlayerPlayback, PauseButtonPausesAndTheMenuCommandDoesNotResume) {
    PlayerProcess player("/p " + StreamPath("tone120.mp2"));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 5000)) << WindowText(main);
    Click(main, kPause);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120 (paused)"; }, 3000));
    EXPECT_TRUE(IsChecked(main, kPause));
    // As the context menu sends it: no button, no keyboard.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kPause, 0), 0);
    Sleep(300);
    EXPECT_EQ(WindowText(main), "Quavera - tone120 (paused)");
    PostCommand(main, kPlay);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 3000));
}

TEST_F(PlayerPlayback, StopButtonStopsAndRewinds) {
    PlayerProcess player("/p " + StreamPath("tone120.mp2"));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 5000)) << WindowText(main);
    Click(main, kStop);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120 (stopped)"; }, 3000));
    EXPECT_EQ(ItemText(main, kTrackTime), " 0:00min ");
    DWORD_PTR position = 1;
    SendMessageTimeoutA(GetDlgItem(main, kPosition), TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position);
    EXPECT_EQ(position, 0u);
}

TEST_F(PlayerPlayback, VolumeSliderSetsTheDeviceVolumeWhichIsStoredAtExit) {
    {
        PlayerProcess player("/p " + StreamPath("tone120.mp2"));
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 5000)) << WindowText(main);
        const HWND slider = GetDlgItem(main, kVolume);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(slider, TBM_SETPOS, TRUE, 1000, SMTO_ABORTIFHUNG, 2000, &ignored);
        PostMessageA(main, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 1000), reinterpret_cast<LPARAM>(slider));
        Sleep(300);
    }
    DWORD volume = 0;
    EXPECT_TRUE(GetRegInt(kConfigurationKey, "Volume", &volume));
    EXPECT_EQ(volume, 8000u);
}

} // namespace
} // namespace quavera::test
