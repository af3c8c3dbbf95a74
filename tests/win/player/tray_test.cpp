// The player's icons in the taskbar's notification area, read and clicked
// where Wine shows them: the program icon with the caption as its tip, and
// the four playback controls, whose play/pause picture and tip follow the
// playback.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "notification_area.h"
#include "player_driver.h"
#include "property_sheets.h"

namespace quavera::test {
namespace {

using Tips = std::vector<std::string>;

class TrayIcons : public PlayerTest {
protected:
    // Waits for the player's icons; the area holds no others.
    std::vector<NotificationIcon> IconsOnceThere(std::size_t count) {
        std::vector<NotificationIcon> icons;
        WaitUntil([&] { return (icons = NotificationIcons()).size() == count; }, 3000);
        return icons;
    }
    bool TipsBecome(const Tips& tips) {
        return WaitUntil([&] { return NotificationTips() == tips; }, 3000);
    }
};

// How many pixels of two pictures of an icon differ clearly. The area draws
// a new picture over the old one, so the half-transparent edges of the two
// mix: the same picture again is close, not equal.
std::size_t PixelsApart(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    if (a.size() != b.size()) return a.size() + b.size();
    std::size_t apart = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int distance = std::abs(GetRValue(a[i]) - GetRValue(b[i])) + std::abs(GetGValue(a[i]) - GetGValue(b[i])) +
                             std::abs(GetBValue(a[i]) - GetBValue(b[i]));
        if (distance > 96) ++apart;
    }
    return apart;
}

std::string Counters(HWND main) {
    return ItemText(main, kTrackNumber) + "|" + ItemText(main, kTrackCount) + "|" + ItemText(main, kTracksToGo);
}

enum Icon : std::size_t { kProgramIcon, kPreviousIcon, kPlayIcon, kStopIcon, kNextIcon };

TEST_F(TrayIcons, ControlsPlayPauseSkipAndStopAsTheKeyboardDoes) {
    const std::string tone = StreamPath("tone120.mp2");
    PlayerProcess player(WriteTempFile("quavera-tray.m3u", tone + "\r\n" + tone + "\r\n"));
    const HWND main = player.WaitForCaption("Quavera - tone120 (stopped)");
    ASSERT_NE(main, nullptr);
    const auto icons = IconsOnceThere(5);
    ASSERT_EQ(icons.size(), 5u);
    EXPECT_EQ(NotificationTips(),
              (Tips{"Quavera - tone120 (stopped)", "Previous song in queue", "Play", "Stop", "Next song in queue"}));
    const HWND playIcon = icons[kPlayIcon].window;
    const std::vector<COLORREF> playPicture = IconPixels(playIcon);
    SaveScreenshot(GetParent(playIcon), "tray-stopped");

    ClickIcon(playIcon);
    ASSERT_NE(player.WaitForCaption("Quavera - tone120"), nullptr);
    EXPECT_TRUE(TipsBecome({"Quavera - tone120", "Previous song in queue", "Pause", "Stop", "Next song in queue"}));
    // An eighth of the pixels at least tell the two pictures apart.
    std::vector<COLORREF> pausePicture;
    EXPECT_TRUE(WaitUntil(
        [&] { return PixelsApart(pausePicture = IconPixels(playIcon), playPicture) > playPicture.size() / 8; }, 2000))
        << "the pause picture";
    SaveScreenshot(GetParent(playIcon), "tray-playing");

    // A click on a paused track resumes it, as the keyboard's Pause does.
    ClickIcon(playIcon);
    ASSERT_NE(player.WaitForCaption("Quavera - tone120 (paused)"), nullptr);
    EXPECT_TRUE(TipsBecome({"Quavera - tone120 (paused)", "Previous song in queue", "Play", "Stop", "Next song in queue"}));
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::vector<COLORREF> now = IconPixels(playIcon);
            return PixelsApart(now, playPicture) * 3 < PixelsApart(now, pausePicture);
        },
        2000))
        << "the play picture again";
    SaveScreenshot(GetParent(playIcon), "tray-paused");
    ClickIcon(playIcon);
    ASSERT_NE(player.WaitForCaption("Quavera - tone120"), nullptr);

    ClickIcon(icons[kNextIcon].window);
    EXPECT_TRUE(WaitUntil([&] { return Counters(main) == "2 |2 |0 "; }, 3000)) << Counters(main);
    ClickIcon(icons[kPreviousIcon].window);
    EXPECT_TRUE(WaitUntil([&] { return Counters(main) == "1 |2 |1 "; }, 3000)) << Counters(main);
    ClickIcon(icons[kNextIcon].window);
    EXPECT_TRUE(WaitUntil([&] { return Counters(main) == "2 |2 |0 "; }, 3000)) << Counters(main);
    // Stop as from the keyboard also goes back to the queue's first track.
    ClickIcon(icons[kStopIcon].window);
    EXPECT_NE(player.WaitForCaption("Quavera - tone120 (stopped)"), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Counters(main) == "1 |2 |1 "; }, 3000)) << Counters(main);
    EXPECT_TRUE(TipsBecome({"Quavera - tone120 (stopped)", "Previous song in queue", "Play", "Stop", "Next song in queue"}));

    ASSERT_TRUE(player.Close());
    EXPECT_TRUE(IconsOnceThere(0).empty()) << "the icons go with the player";
}

TEST_F(TrayIcons, TheProgramIconHidesShowsAndOpensTheMenuAndTheSettingsSwitchTheControls) {
    PlayerProcess player(StreamPath("tone10.mp2"));
    const HWND main = player.WaitForCaption("Quavera - tone10 (stopped)");
    ASSERT_NE(main, nullptr);
    const auto icons = IconsOnceThere(5);
    ASSERT_EQ(icons.size(), 5u);
    const HWND programIcon = icons[kProgramIcon].window;

    DoubleClickIcon(programIcon);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000));
    EXPECT_EQ(StoredSetting("DialogState"), 3u);
    DoubleClickIcon(programIcon);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 3000));
    EXPECT_EQ(StoredSetting("DialogState"), 0u);

    // The menu's commands count as the user's own: Random switches.
    RightClickIcon(programIcon);
    const HWND menu = player.WaitForMenu();
    ASSERT_NE(menu, nullptr);
    PostMessageA(menu, WM_KEYDOWN, 'R', 0);
    PostMessageA(menu, WM_CHAR, 'r', 0);
    PostMessageA(menu, WM_KEYUP, 'R', 0);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(main, kRandom); }, 3000));
    EXPECT_EQ(StoredSetting("RandomPlayback"), 1u);

    PostMessageA(main, WM_COMMAND, kTaskBarHide, 0);
    EXPECT_TRUE(TipsBecome({"Quavera - tone10 (stopped)"}));
    PostMessageA(main, WM_COMMAND, kTaskBarShow, 0);
    PostMessageA(main, WM_COMMAND, kTaskBarShow, 0);
    EXPECT_TRUE(TipsBecome({"Quavera - tone10 (stopped)", "Previous song in queue", "Play", "Stop", "Next song in queue"}));
    Sleep(200);
    EXPECT_EQ(NotificationIcons().size(), 5u) << "shown twice, added once";
}

TEST_F(TrayIcons, WithoutTheControlsOnlyTheProgramIconWithTheCaptionCutTo63Characters) {
    SetRegInt(kConfigurationKey, "TaskBar", 0);
    const std::string name = TempFolder() + "a name so long that the caption is longer than any tip can be.mp2";
    ASSERT_TRUE(CopyFileA(StreamPath("tone1.mp2").c_str(), name.c_str(), FALSE));
    {
        PlayerProcess player(name);
        const std::string caption = "Quavera - a name so long that the caption is longer than any tip can be (stopped)";
        ASSERT_NE(player.WaitForCaption(caption), nullptr);
        EXPECT_TRUE(TipsBecome({caption.substr(0, 63)}));
    }
    DeleteFileA(name.c_str());
}

} // namespace
} // namespace quavera::test
