// Tests that need the engine to play: they check real captured audio and the
// engine's playing and paused states through the dialog's caption.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "player_driver.h"

namespace quavera::test {
namespace {

int CapturedPeak() {
    int peak = 0;
    for (const short sample : CapturedSamples(1 << 20)) peak = std::max(peak, std::abs(static_cast<int>(sample)));
    return peak;
}

void SetVolumeSlider(HWND main, int position) {
    const HWND slider = GetDlgItem(main, kVolume);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(slider, TBM_SETPOS, TRUE, position, SMTO_ABORTIFHUNG, 2000, &ignored);
    PostMessageA(main, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}

class PlayerPlayback : public CaptureTest {};

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
    // The player hands the focus back to the Open button when it is the
    // foreground window, which it need not be here: do what it would do, or
    // the focus left on the Pause button makes the menu command a click.
    SendMessageA(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(main, kOpen)), TRUE);
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
        SetVolumeSlider(main, 1000);
        Sleep(300);
    }
    DWORD volume = 0;
    EXPECT_TRUE(GetRegInt(kConfigurationKey, "Volume", &volume));
    EXPECT_EQ(volume, 8000u);
}

TEST_F(PlayerPlayback, TheVolumeSurvivesAChangeOfOutputFormat) {
    {
        PlayerProcess player("/p " + StreamPath("mono10.mp2"));
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - mono10"; }, 5000)) << WindowText(main);
        SetVolumeSlider(main, 4096);
        Sleep(300);
        // A stereo file handed over: the device is opened anew for it, which
        // starts the capture afresh.
        PlayerProcess second("/p " + StreamPath("tone120.mp2"));
        ASSERT_TRUE(second.WaitForExit());
        ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 5000)) << WindowText(main);
        EXPECT_EQ(SliderPosition(main, kVolume), 4096u);
        ASSERT_TRUE(WaitUntil([] { return CapturedSamples(1 << 20).size() >= (1u << 20); }, 15000));
        // The tone's peak is 16422 at full volume.
        const int peak = CapturedPeak();
        EXPECT_GT(peak, 7400);
        EXPECT_LT(peak, 9000);
    }
    DWORD volume = 0;
    EXPECT_TRUE(GetRegInt(kConfigurationKey, "Volume", &volume));
    EXPECT_EQ(volume, 32768u);
}

} // namespace
} // namespace quavera::test
