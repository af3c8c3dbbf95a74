// The main dialog with a track open: texts, captions, time modes, the
// position slider and the volume, driven from outside the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "player_driver.h"

namespace quavera::test {
namespace {

class PlayerDialogTest : public PlayerTest {
protected:
    HWND Open(PlayerProcess& player) {
        const HWND main = player.WaitForMainWindow();
        if (main) WaitUntil([&] { return WindowText(main) != "Quavera"; }, 3000);
        return main;
    }
};

LRESULT SliderMessage(HWND main, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(main, id), message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

void ReleaseSliderAt(HWND main, int id, int position) {
    SliderMessage(main, id, TBM_SETPOS, TRUE, position);
    PostMessageA(main, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(PlayerDialogTest, VbrTrackShowsTheLengthOfItsFramesAndTheirAverageBitrate) {
    PlayerProcess player(StreamPath("vbr10.mp3"));
    const HWND main = Open(player);
    ASSERT_NE(main, nullptr);
    // The information frame's header says 128 kbit/s; the frames average less.
    int kbps = 0;
    float ratio = 0;
    const std::string source = ItemText(main, kSourceParameters);
    EXPECT_EQ(std::sscanf(source.c_str(), "MPEG 1 Audio Layer III\n44100Hz 16Bit stereo - Bitrate %dkBit/s - Packratio 1/%f",
                          &kbps, &ratio),
              2)
        << source;
    EXPECT_GT(kbps, 20);
    EXPECT_LT(kbps, 100);
    EXPECT_NEAR(ratio, 16 * 44100.0 / (kbps * 1000.0 / 2), 0.02);
    EXPECT_EQ(ItemText(main, kLengthLabel), "0:10min");
    EXPECT_EQ(SliderMessage(main, kPosition, TBM_GETRANGEMAX), 20);
}

TEST_F(PlayerDialogTest, OpenTrackShowsNameParametersTimesAndSliderLabels) {
    PlayerProcess player(StreamPath("tone10.mp2"));
    const HWND main = Open(player);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), "Quavera - tone10 (stopped)");
    EXPECT_TRUE(IsChecked(main, kStop));
    EXPECT_EQ(ItemText(main, kTrackName), "tone10");
    EXPECT_EQ(ItemText(main, kSourceParameters),
              "MPEG 1 Audio Layer II\n44100Hz 16Bit stereo - Bitrate 128kBit/s - Packratio 1/11.02");
    EXPECT_EQ(ItemText(main, kPlaybackParameters), "44100Hz 16Bit stereo - better quality");
    EXPECT_EQ(ItemText(main, kTimeLabel), "Elapsed time:");
    EXPECT_EQ(ItemText(main, kTrackTime), " 0:00min ");
    EXPECT_EQ(ItemText(main, kStartLabel), "0:00min");
    EXPECT_EQ(ItemText(main, kLengthLabel), "0:10min");
    // 10.2 s: one tick per second (2 slider units), labels under ticks 2, 4, 6.
    EXPECT_EQ(SliderMessage(main, kPosition, TBM_GETRANGEMAX), 20);
    EXPECT_EQ(SliderMessage(main, kPosition, TBM_GETTIC, 0), 2);
    const auto texts = StaticTexts(main);
    EXPECT_TRUE(Contains(texts, "0:02min"));
    EXPECT_TRUE(Contains(texts, "0:04min"));
    EXPECT_TRUE(Contains(texts, "0:06min"));
    SaveScreenshot(main, "main-file-open");
    std::string recent;
    GetRegString(kConfigurationKey, "RecentFile", &recent);
    EXPECT_EQ(recent, "") << "a file from the command line is not recorded as recent";
}

// Width of a text in the dialog's font (the template's 8-point "MS Shell Dlg").
int DialogTextWidth(const std::string& text) {
    HDC screen = GetDC(nullptr);
    LOGFONTA font{};
    font.lfHeight = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(font.lfFaceName, "MS Shell Dlg");
    HFONT handle = CreateFontIndirectA(&font);
    const HGDIOBJ previous = SelectObject(screen, handle);
    RECT rect{};
    DrawTextA(screen, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(screen, previous);
    DeleteObject(handle);
    ReleaseDC(nullptr, screen);
    return rect.right - rect.left;
}

int ClientWidth(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect.right;
}

TEST_F(PlayerDialogTest, EndLabelsHoldTheirWholeTextFromTheFirstOpen) {
    for (const char* name : {"tone120.mp2", "tone10.mp2", "tone1.mp2"}) {
        SCOPED_TRACE(name);
        PlayerProcess player(StreamPath(name));
        const HWND main = Open(player);
        ASSERT_NE(main, nullptr);
        for (const int label : {kStartLabel, kLengthLabel}) {
            const std::string text = ItemText(main, label);
            EXPECT_GT(ClientWidth(GetDlgItem(main, label)), DialogTextWidth(text)) << text;
        }
    }
}

TEST_F(PlayerDialogTest, TimeModeButtonsSwitchTheDisplayAndAreRemembered) {
    {
        PlayerProcess player(StreamPath("tone10.mp2"));
        const HWND main = Open(player);
        ASSERT_NE(main, nullptr);
        Click(main, kRemainingMode);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(main, kTrackTime) == "-0:10min "; }, 3000));
        EXPECT_EQ(ItemText(main, kTimeLabel), "Remaining time:");
        EXPECT_TRUE(IsChecked(main, kRemainingMode));
        EXPECT_FALSE(IsChecked(main, kElapsedMode));
    }
    DWORD mode = 0;
    EXPECT_TRUE(GetRegInt(kConfigurationKey, "TimeDisplay", &mode));
    EXPECT_EQ(mode, 1u);
    {
        PlayerProcess player(StreamPath("tone10.mp2"));
        const HWND main = Open(player);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(ItemText(main, kTimeLabel), "Remaining time:");
        EXPECT_EQ(ItemText(main, kTrackTime), "-0:10min ");
        Click(main, kElapsedMode);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(main, kTrackTime) == " 0:00min "; }, 3000));
    }
    EXPECT_TRUE(GetRegInt(kConfigurationKey, "TimeDisplay", &mode));
    EXPECT_EQ(mode, 0u);
}

TEST_F(PlayerDialogTest, SliderReleasedAtTheEndSeeksOneStepBeforeItAndStopRewinds) {
    PlayerProcess player(StreamPath("tone10.mp2"));
    const HWND main = Open(player);
    ASSERT_NE(main, nullptr);
    ReleaseSliderAt(main, kPosition, 20);
    EXPECT_TRUE(WaitUntil([&] { return ItemText(main, kTrackTime) == " 0:09min "; }, 3000))
        << ItemText(main, kTrackTime);
    Click(main, kStop);
    EXPECT_TRUE(WaitUntil([&] { return SliderMessage(main, kPosition, TBM_GETPOS) == 0; }, 3000));
    EXPECT_EQ(ItemText(main, kTrackTime), " 0:00min ");
    EXPECT_EQ(WindowText(main), "Quavera - tone10 (stopped)");
}

TEST_F(PlayerDialogTest, OneSecondTrackHasNoTickLabels) {
    PlayerProcess player(StreamPath("tone1.mp2"));
    const HWND main = Open(player);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ItemText(main, kLengthLabel), "0:01min");
    EXPECT_EQ(SliderMessage(main, kPosition, TBM_GETRANGEMAX), 2);
    // 100 ms ticks are finer than one slider unit, so the slider has none.
    EXPECT_EQ(SliderMessage(main, kPosition, TBM_GETNUMTICS), 2);
    const auto texts = StaticTexts(main);
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.find("min") != std::string::npos; }),
              3)
        << "the two end labels and the track time only";
}

TEST_F(PlayerDialogTest, StoredVolumeIsAppliedAtOpenAndStoredAgainAtExit) {
    SetRegInt(kConfigurationKey, "Volume", 32768);
    {
        PlayerProcess player(StreamPath("tone10.mp2"));
        const HWND main = Open(player);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(SliderMessage(main, kVolume, TBM_GETPOS), 4096);
    }
    DWORD volume = 0;
    EXPECT_TRUE(GetRegInt(kConfigurationKey, "Volume", &volume));
    EXPECT_EQ(volume, 32768u);
}

} // namespace
} // namespace quavera::test
