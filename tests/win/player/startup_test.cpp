// Start-up and exit of Quavera.exe: registry values, the single instance,
// the version check and the window position.
#include <gtest/gtest.h>

#include "player_driver.h"
#include "property_sheets.h"

namespace quavera::test {
namespace {

class PlayerStartup : public PlayerTest {};

TEST_F(PlayerStartup, FirstRunShowsTheSettingsThenRecordsVersionDefaultsAndMarkerAndExitClearsIt) {
    RemovePlayerSettings();
    RECT rect{};
    {
        PlayerProcess player("");
        const HWND sheet = player.WaitForBox("Quavera Properties");
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(player.WaitForMainWindow(200), nullptr) << "the settings come before the main dialog";
        Click(sheet, IDOK);
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(WindowText(main), "Quavera");
        EXPECT_EQ(ItemText(main, kTrackName), "Press OPEN to choose a song or use Drag and Drop.");
        EXPECT_EQ(ItemText(main, kTrackTime), " 0:00min ");
        EXPECT_TRUE(IsChecked(main, kStop));
        EXPECT_FALSE(IsChecked(main, kPlay));
        std::string version;
        ASSERT_TRUE(GetRegString(kPlaybackKey, "Version", &version));
        EXPECT_EQ(version, kProgramVersion);
        EXPECT_EQ(StoredSetting("CheckExtentions"), 1u);
        EXPECT_EQ(StoredSetting("Buffers"), 14u);
        EXPECT_EQ(StoredSetting("FramesPerBuffer"), 2u);
        EXPECT_EQ(StoredSetting("PlaybackMethode"), 1u);
        EXPECT_EQ(StoredSetting("RunningWindow"), HandleToULong(main));
        std::string recent = "unset";
        EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentFile", &recent));
        EXPECT_EQ(recent, "");
        SaveScreenshot(main, "main-stopped-no-file");
        GetWindowRect(main, &rect);
        PostCommand(main, kExit);
        ASSERT_TRUE(player.WaitForExit());
    }
    EXPECT_EQ(StoredSetting("RunningWindow"), 0u);
    std::string handed = "unset";
    EXPECT_TRUE(GetRegString(kConfigurationKey, "CommandLine", &handed));
    EXPECT_EQ(handed, "");
    EXPECT_EQ(static_cast<LONG>(StoredSetting("WindowXPos")), rect.left);
    EXPECT_EQ(static_cast<LONG>(StoredSetting("WindowYPos")), rect.top);
    EXPECT_EQ(StoredSetting("Volume"), 0xDEADBEEF) << "no stream was loaded, so no volume is stored";

    // Only the first run starts with the settings.
    PlayerProcess again("");
    EXPECT_NE(again.WaitForMainWindow(), nullptr);
    EXPECT_EQ(again.WaitForBox("Quavera Properties", 200), nullptr);
}

TEST_F(PlayerStartup, ChoicesMadeInTheFirstRunSettingsStand) {
    RemovePlayerSettings();
    PlayerProcess player("");
    const HWND sheet = player.WaitForBox(kSettingsCaption);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kBuffersPage);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ItemText(page, kBufferText), "0.75 seconds") << "the defaults come first";
    PressKeys(page, kBufferSlider, {VK_LEFT});
    EXPECT_TRUE(WaitUntil([&] { return ItemText(page, kBufferText) == "0.50 seconds"; }, 2000));
    page = ShowPage(sheet, kAudioDevicePage);
    ASSERT_NE(page, nullptr);
    Click(page, kThread);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kThread); }, 2000));
    Click(sheet, IDOK);
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(StoredSetting("Buffers"), 10u);
    EXPECT_EQ(StoredSetting("PlaybackMethode"), 2u);
    EXPECT_EQ(StoredSetting("FramesPerBuffer"), 2u);
    EXPECT_EQ(StoredSetting("CheckExtentions"), 1u);
}

TEST_F(PlayerStartup, EqualStoredVersionKeepsTheUsersSettings) {
    SetRegString(kPlaybackKey, "Version", kProgramVersion);
    SetRegInt(kConfigurationKey, "Buffers", 40);
    PlayerProcess player("");
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(StoredSetting("Buffers"), 40u);
    EXPECT_EQ(StoredSetting("CheckExtentions"), 0u) << "the stored value stands";
}

TEST_F(PlayerStartup, NewerStoredVersionShowsTheVersionMessageAndEnds) {
    SetRegString(kPlaybackKey, "Version", "9.99");
    PlayerProcess player("");
    const HWND box = player.WaitForBox("Quavera version check");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(player.Answer(box, IDOK),
              "You are trying to run an older version of Quavera\nthan the one which was installed!\n\n"
              "Please download the newest version of Quavera and\nreinstall it.");
    ASSERT_TRUE(player.WaitForExit());
    std::string version;
    GetRegString(kPlaybackKey, "Version", &version);
    EXPECT_EQ(version, "9.99");
    EXPECT_EQ(StoredSetting("Buffers"), 0xDEADBEEF);
    EXPECT_EQ(StoredSetting("WindowXPos"), 0xDEADBEEF);
    EXPECT_EQ(StoredSetting("RunningWindow"), 0u) << "the marker is released again";
}

TEST_F(PlayerStartup, SavedPositionIsUsedOnlyWhenItLiesOnTheDesktop) {
    SetRegInt(kConfigurationKey, "WindowXPos", 40);
    SetRegInt(kConfigurationKey, "WindowYPos", 30);
    RECT rect{};
    {
        PlayerProcess player("");
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        GetWindowRect(main, &rect);
        EXPECT_EQ(rect.left, 40);
        EXPECT_EQ(rect.top, 30);
    }
    // Above the desktop's top edge.
    SetRegInt(kConfigurationKey, "WindowYPos", static_cast<DWORD>(-200));
    {
        PlayerProcess player("");
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        GetWindowRect(main, &rect);
        EXPECT_GE(rect.top, 0);
        EXPECT_NE(rect.left, 40) << "the template's centred position is kept";
    }
    // Beyond the desktop's right edge.
    SetRegInt(kConfigurationKey, "WindowXPos", static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN) - 2));
    SetRegInt(kConfigurationKey, "WindowYPos", 30);
    {
        PlayerProcess player("");
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        GetWindowRect(main, &rect);
        EXPECT_LT(rect.right, GetSystemMetrics(SM_CXSCREEN));
    }
}

TEST_F(PlayerStartup, StoredHiddenStateStartsVisibleAndIsStoredAsLarge) {
    SetRegInt(kConfigurationKey, "DialogState", 3);
    PlayerProcess player("");
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(StoredSetting("DialogState"), 0u);
}

TEST_F(PlayerStartup, SecondCopyWithAFileHandsItOverAndShowsNoWindow) {
    PlayerProcess first("");
    const HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const std::string arguments = StreamPath("tone10.mp2");
    PlayerProcess second(arguments);
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_FALSE(second.showedWindowBeforeExit());
    std::string handed;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "CommandLine", &handed));
    EXPECT_EQ(handed, arguments);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone10 (stopped)"; }))
        << WindowText(main);
    EXPECT_EQ(StoredSetting("RunningWindow"), HandleToULong(main));
}

TEST_F(PlayerStartup, QuotedFileNameOpensAtStartAndOnHandOver) {
    // As the shell passes a file dropped on the program's icon.
    std::string quoted = StreamPath("tone one.mp2");
    quoted.insert(quoted.begin(), '"');
    quoted.push_back('"');
    PlayerProcess first(quoted);
    const HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone one (stopped)"; })) << WindowText(main);
    EXPECT_EQ(first.WaitForBox("Open audio file", 200), nullptr);

    PlayerProcess second(StreamPath("tone10.mp2"));
    ASSERT_TRUE(second.WaitForExit());
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone10 (stopped)"; })) << WindowText(main);
    // Back to the quoted name, with an option after it.
    PlayerProcess third(quoted + " /p");
    ASSERT_TRUE(third.WaitForExit());
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main).rfind("Quavera - tone one", 0) == 0; })) << WindowText(main);
    EXPECT_EQ(first.WaitForBox("Open audio file", 200), nullptr);
}

TEST_F(PlayerStartup, HandedOverCommandLineLongerThan127CharactersIsNotProcessed) {
    PlayerProcess first("");
    const HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    PlayerProcess second(StreamPath("tone10.mp2") + std::string(130, 'x'));
    ASSERT_TRUE(second.WaitForExit());
    Sleep(500);
    EXPECT_EQ(WindowText(main), "Quavera");
    EXPECT_EQ(first.WaitForBox("Open audio file", 200), nullptr);
}

TEST_F(PlayerStartup, SecondCopyWithoutArgumentsAsksNoEndsItYesRunsItBesideTheOwner) {
    PlayerProcess first("");
    const HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    for (const int answer : {IDNO, IDYES}) {
        PlayerProcess second("");
        const HWND box = second.WaitForBox("Quavera instance check");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(second.Answer(box, answer),
                  "Another thread of Quavera is already running!\n\nDo your really want to run Quavera again?");
        if (answer == IDNO) {
            EXPECT_TRUE(second.WaitForExit());
            continue;
        }
        const HWND other = second.WaitForMainWindow();
        ASSERT_NE(other, nullptr);
        EXPECT_NE(other, main);
        EXPECT_EQ(StoredSetting("RunningWindow"), HandleToULong(main));
        ASSERT_TRUE(second.Close());
        EXPECT_EQ(StoredSetting("RunningWindow"), HandleToULong(main)) << "only the owner clears the marker";
    }
    ASSERT_TRUE(first.Close());
    EXPECT_EQ(StoredSetting("RunningWindow"), 0u);
}

TEST_F(PlayerStartup, StaleMarkerIsTakenOverWithoutAsking) {
    const ATOM stale = GlobalAddAtomA("Quavera MPEG Audio Player");
    SetRegInt(kConfigurationKey, "RunningWindow", 0x7ffe0);
    PlayerProcess player("");
    const HWND main = player.WaitForMainWindow();
    GlobalDeleteAtom(stale);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(StoredSetting("RunningWindow"), HandleToULong(main));
}

TEST_F(PlayerStartup, CommandLineOptionsSwitchModesAndStoredModesApplyOnlyWithoutArguments) {
    SetRegInt(kConfigurationKey, "RandomPlayback", 1);
    {
        PlayerProcess player("-endless " + StreamPath("tone10.mp2"));
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(IsChecked(main, kEndless));
        EXPECT_FALSE(IsChecked(main, kRandom));
        EXPECT_EQ(StoredSetting("EndlessPlayback"), 1u);
    }
    {
        PlayerProcess player("");
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(IsChecked(main, kEndless));
        EXPECT_TRUE(IsChecked(main, kRandom));
    }
}

} // namespace
} // namespace quavera::test
