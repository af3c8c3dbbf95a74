// The main dialog's three sizes, hiding it, and the minimised window: its
// title that scrolls and the controls of its system menu.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "player_driver.h"
#include "property_sheets.h"

namespace quavera::test {
namespace {

using DialogSizes = PlayerTest;
using MinimisedPlayer = PlayerTest;

// Inside the dialog's margin, above and left of every control.
constexpr POINT kMargin = {3, 3};

SIZE ClientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

// Every control shown lies wholly inside the client area.
void ExpectControlsInside(HWND main) {
    const SIZE client = ClientSize(main);
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.cx && rect.bottom <= client.cy)
            << "control " << GetDlgCtrlID(child) << " \"" << WindowText(child) << "\" at " << rect.left << ","
            << rect.top << "-" << rect.right << "," << rect.bottom << " outside " << client.cx << "x" << client.cy;
    }
}

// The size is stored first, then the dialog takes it: waits for both.
bool StateBecomes(HWND main, DWORD state, SIZE before) {
    return WaitUntil([&] { return StoredSetting("DialogState") == state && !(ClientSize(main) == before); }, 3000);
}

void SetSize(HWND main, LPARAM size) { PostMessageA(main, WM_COMMAND, kSetDialogSize, size); }

TEST_F(DialogSizes, DoubleClicksOutsideTheSongCycleLargeMediumSmallAndStoreTheSize) {
    PlayerProcess player(StreamPath("tone10.mp2"));
    const HWND main = player.WaitForCaption("Quavera - tone10 (stopped)");
    ASSERT_NE(main, nullptr);
    const SIZE large = ClientSize(main);
    EXPECT_TRUE(IsShown(main, kTrackName));
    ExpectControlsInside(main);

    DoubleClickAt(main, kMargin);
    ASSERT_TRUE(StateBecomes(main, 1, large));
    const SIZE medium = ClientSize(main);
    EXPECT_EQ(medium.cx, large.cx) << "narrow, as the large size is without a queue";
    EXPECT_LT(medium.cy, large.cy);
    for (const int id : {kTrackName, kSourceParameters, kPlaybackParameters}) EXPECT_FALSE(IsShown(main, id)) << id;
    for (const int id : {kOpen, kUrl, kPropertiesButton, kExit, kTrackTime, kElapsedMode, kPosition, kPlay, kStop, kVolume})
        EXPECT_TRUE(IsShown(main, id)) << id;
    EXPECT_EQ(ItemText(main, kLengthLabel), "0:10min");
    ExpectControlsInside(main);

    DoubleClickAt(main, kMargin);
    ASSERT_TRUE(StateBecomes(main, 2, medium));
    const SIZE small = ClientSize(main);
    EXPECT_EQ(small.cx, large.cx);
    EXPECT_LT(small.cy, medium.cy);
    for (const int id : {kOpen, kExit, kTrackName, kTrackTime, kElapsedMode}) EXPECT_FALSE(IsShown(main, id)) << id;
    for (const int id : {kPosition, kPrevious, kPause, kPlay, kStop, kNext, kVolume}) EXPECT_TRUE(IsShown(main, id)) << id;
    ExpectControlsInside(main);

    DoubleClickAt(main, kMargin);
    ASSERT_TRUE(StateBecomes(main, 0, small));
    EXPECT_TRUE(ClientSize(main) == large);
    EXPECT_TRUE(IsShown(main, kTrackName));
    ExpectControlsInside(main);
}

TEST_F(DialogSizes, TheSizeItHasWritesNothingAndHidingKeepsTheSize) {
    SetRegInt(kConfigurationKey, "DialogState", 1);
    PlayerProcess player(StreamPath("tone10.mp2"));
    const HWND main = player.WaitForCaption("Quavera - tone10 (stopped)");
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsShown(main, kTrackName)) << "the stored medium size";
    const SIZE medium = ClientSize(main);

    // A mark the player would overwrite; the mode button's command comes after.
    SetRegInt(kConfigurationKey, "DialogState", 7);
    SetSize(main, 1);
    Click(main, kRemainingMode);
    ASSERT_TRUE(WaitUntil([] { return StoredSetting("TimeDisplay") == 1; }, 3000));
    EXPECT_EQ(StoredSetting("DialogState"), 7u);
    EXPECT_TRUE(ClientSize(main) == medium);

    PostCommand(main, kHide, 1);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000));
    EXPECT_EQ(StoredSetting("DialogState"), 3u);
    PostCommand(main, kHide, 1);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 3000));
    EXPECT_EQ(StoredSetting("DialogState"), 1u);
    EXPECT_TRUE(ClientSize(main) == medium);
    EXPECT_FALSE(IsShown(main, kTrackName));

    // The settings' value is taken modulo 4: 6 is the small size.
    SetSize(main, 6);
    ASSERT_TRUE(StateBecomes(main, 2, medium));
    EXPECT_LT(ClientSize(main).cy, medium.cy);
}

// The queue's first track plays long enough on the capturing device for the
// playing pictures.
TEST_F(DialogSizes, ScreenshotsOfTheThreeSizesStoppedAndPlayingWithAQueue) {
    const std::string list = WriteTempFile(
        "quavera-sizes.m3u", StreamPath("tone120.mp2") + "\r\n" + StreamPath("tone10.mp2") + "\r\n");
    PlayerProcess player(list);
    const HWND main = player.WaitForCaption("Quavera - tone120 (stopped)");
    ASSERT_NE(main, nullptr);
    const SIZE large = ClientSize(main);
    EXPECT_TRUE(IsShown(main, kTrackList));
    ExpectControlsInside(main);
    SaveScreenshot(main, "size-large-stopped");
    SetSize(main, 1);
    ASSERT_TRUE(StateBecomes(main, 1, large));
    const SIZE medium = ClientSize(main);
    EXPECT_LT(medium.cx, large.cx - 100) << "the track section has no room in the medium size";
    EXPECT_FALSE(IsShown(main, kTrackList));
    SaveScreenshot(main, "size-medium-stopped");
    SetSize(main, 2);
    ASSERT_TRUE(StateBecomes(main, 2, medium));
    const SIZE small = ClientSize(main);
    EXPECT_FALSE(IsShown(main, kTrackList));
    SaveScreenshot(main, "size-small-stopped");

    Click(main, kPlay);
    ASSERT_NE(player.WaitForCaption("Quavera - tone120"), nullptr);
    SaveScreenshot(main, "size-small-playing");
    SetSize(main, 1);
    ASSERT_TRUE(StateBecomes(main, 1, small));
    SaveScreenshot(main, "size-medium-playing");
    SetSize(main, 0);
    ASSERT_TRUE(StateBecomes(main, 0, medium));
    EXPECT_TRUE(ClientSize(main) == large);
    EXPECT_TRUE(IsShown(main, kTrackList));
    ExpectControlsInside(main);
    SaveScreenshot(main, "size-large-playing");
    EXPECT_EQ(WindowText(main), "Quavera - tone120") << "still playing";
}

// The titles the window shows in a while, each as it first appears.
std::vector<std::string> TitlesSeen(HWND main, int ms) {
    std::vector<std::string> titles;
    for (int waited = 0; waited < ms; waited += 20) {
        const std::string title = WindowText(main);
        if (titles.empty() || titles.back() != title) titles.push_back(title);
        Sleep(20);
    }
    return titles;
}

void Minimise(HWND main) {
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 3000));
}

TEST_F(MinimisedPlayer, AShortCaptionStandsStill) {
    PlayerProcess player("");
    const HWND main = player.WaitForCaption("Quavera");
    ASSERT_NE(main, nullptr);
    ASSERT_NO_FATAL_FAILURE(Minimise(main));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera  0:00min "; }, 2000)) << WindowText(main);
    EXPECT_EQ(TitlesSeen(main, 1000), std::vector<std::string>{"Quavera  0:00min "});
}

TEST_F(MinimisedPlayer, ALongCaptionRunsThroughTheTitleAndItsMenuPlays) {
    const std::string name = TempFolder() + "a long name that cannot fit the minimised window.mp2";
    ASSERT_TRUE(CopyFileA(StreamPath("tone120.mp2").c_str(), name.c_str(), FALSE));
    const std::string caption = "Quavera - a long name that cannot fit the minimised window";
    PlayerProcess player(name);
    const HWND main = player.WaitForCaption(caption + " (stopped)");
    ASSERT_NE(main, nullptr);
    ASSERT_NO_FATAL_FAILURE(Minimise(main));

    // One character a tick, through " +++ " from the end back to the start.
    const std::string text = caption + " (stopped)  0:00min  +++ ";
    const std::vector<std::string> titles = TitlesSeen(main, 1500);
    ASSERT_GE(titles.size(), 4u);
    std::size_t offset = (text + text).find(titles[1]);
    ASSERT_NE(offset, std::string::npos) << titles[1];
    for (std::size_t i = 2; i < titles.size(); ++i) {
        offset = (offset + 1) % text.size();
        EXPECT_EQ(titles[i], text.substr(offset) + text.substr(0, offset));
    }

    // Without the scroller the title is the caption and the time.
    PostMessageA(main, WM_COMMAND, kScrollerOff, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == caption + " (stopped)  0:00min "; }, 2000))
        << WindowText(main);

    // The system menu's Play, as the popup "Quavera Controls" sends it; the
    // time runs in the title.
    PostMessageA(main, WM_SYSCOMMAND, kPlay, 0);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::string title = WindowText(main);
            return title.rfind(caption + " ", 0) == 0 && TimeTextSeconds(title.substr(caption.size() + 1)) >= 2;
        },
        5000))
        << WindowText(main);
    PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == caption; }, 3000)) << WindowText(main);
    EXPECT_GE(TimeTextSeconds(ItemText(main, kTrackTime)), 2) << "the time is drawn again at once";
    player.Close();
    DeleteFileA(name.c_str());
}

} // namespace
} // namespace quavera::test
