// The settings sheet driven as a user drives it: pages, radio buttons, check
// boxes, lists, edits and the sheet's buttons; what it writes to the registry
// and which commands reach the main dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <utility>
#include <vector>

#include "command_spy.h"
#include "player_driver.h"
#include "property_sheets.h"

namespace quavera::test {
namespace {

using Commands = std::vector<std::pair<WPARAM, LPARAM>>;

// What StoredSetting gives for a value the registry lacks.
constexpr DWORD kMissing = 0xDEADBEEF;

std::string RegString(const char* name) {
    std::string text = "<missing>";
    GetRegString(kConfigurationKey, name, &text);
    return text;
}

// The engine's eight values as the registry holds them.
std::vector<DWORD> EngineValues() {
    std::vector<DWORD> values;
    for (const char* name : {"FrequencyDivisor", "Quality", "Channels", "BitsPerSample", "Buffers", "FramesPerBuffer",
                             "PlaybackMethode", "WaveOutDevice"})
        values.push_back(StoredSetting(name));
    return values;
}

struct SheetSearch {
    DWORD process;
    int count;
};

BOOL CALLBACK CountSheet(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<SheetSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window) && WindowText(window) == kSettingsCaption) ++search->count;
    return TRUE;
}

// Number of visible settings sheets of the player.
int SheetCount(DWORD process) {
    SheetSearch search{process, 0};
    EnumWindows(CountSheet, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

class SettingsSheet : public SheetTest {
protected:
    // Starts the player, starts recording its commands and opens the sheet
    // with the Properties button.
    void Open(const std::string& arguments = "") {
        player_ = std::make_unique<PlayerProcess>(arguments);
        main_ = player_->WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        spy_ = std::make_unique<CommandSpy>(main_);
        ASSERT_TRUE(spy_->active());
        Click(main_, kPropertiesButton);
        sheet_ = player_->WaitForBox(kSettingsCaption);
        ASSERT_NE(sheet_, nullptr);
    }

    // The commands the main dialog has taken once they stop coming.
    Commands Taken() {
        Commands commands;
        WaitUntil(
            [&] {
                const Commands now = spy_->Commands();
                const bool settled = now == commands;
                commands = now;
                return settled && !commands.empty();
            },
            600);
        return commands;
    }

    std::unique_ptr<CommandSpy> spy_;
};

TEST_F(SettingsSheet, PagesInOrderShowTheStoredSettings) {
    SetRegInt(kConfigurationKey, "DisableContinuous", 1);
    SetRegInt(kConfigurationKey, "DialogState", 1);
    SetRegString(kConfigurationKey, "Proxy", "proxy.example");
    SetRegString(kConfigurationKey, "User", "ann");
    SetRegString(kConfigurationKey, "Password", "secret");
    SetRegInt(kConfigurationKey, "PlayAndSave", 1);
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 0);
    ASSERT_NO_FATAL_FAILURE(Open());
    const HWND tab = reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETTABCONTROL, 0, 0));
    EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 5);

    HWND page = CurrentPage(sheet_);
    EXPECT_EQ(page, Page(kAudioDevicePage)) << "the sheet opens on its first page";
    const auto devices = ListItems(page, kDeviceList);
    ASSERT_GE(devices.size(), 2u);
    EXPECT_EQ(devices[0], "Windows WAVE Mapper");
    EXPECT_EQ(ListSelection(page, kDeviceList), 0);
    for (const int id : {kStereo, kBits16, kTimer}) EXPECT_TRUE(IsChecked(page, id)) << id;
    for (const int id : {kMono, kBits8, kThread, kDeviceCallback}) EXPECT_FALSE(IsChecked(page, id)) << id;
    EXPECT_TRUE(IsPushed(page, kDeviceCallback)) << "no device callback on Windows NT";
    for (const int id : {kStereo, kMono, kBits16, kBits8, kTimer, kThread}) EXPECT_FALSE(IsPushed(page, id)) << id;
    SaveScreenshot(sheet_, "settings-audio-device");

    page = Page(kPlaybackModePage);
    for (const int id : {kRatio1, kBetter}) EXPECT_TRUE(IsChecked(page, id)) << id;
    for (const int id : {kRatio2, kRatio4, kBest, kGood}) EXPECT_FALSE(IsChecked(page, id)) << id;
    SaveScreenshot(sheet_, "settings-playback-mode");

    page = Page(kBuffersPage);
    EXPECT_EQ(SliderPosition(page, kBufferSlider), 3u);
    EXPECT_EQ(SliderMaximum(page, kBufferSlider), 16u);
    EXPECT_EQ(ItemText(page, kBufferText), "0.75 seconds");
    EXPECT_TRUE(IsChecked(page, kDisableContinuous));
    SaveScreenshot(sheet_, "settings-buffers");

    page = Page(kControlsPage);
    EXPECT_TRUE(IsChecked(page, kTaskBar));
    EXPECT_TRUE(IsChecked(page, kScroller));
    EXPECT_EQ(ListItems(page, kDialogSize),
              (std::vector<std::string>{"Large dialog (all controls, multi track display)",
                                        "Medium dialog (playback + general controls)",
                                        "Small dialog (playback controls only)",
                                        "Hide dialog (no window, no taskbar entry)"}));
    EXPECT_EQ(ListSelection(page, kDialogSize), 1);
    SaveScreenshot(sheet_, "settings-controls");

    page = Page(kInternetPage);
    EXPECT_EQ(ItemText(page, kProxy), "proxy.example");
    EXPECT_EQ(ItemText(page, kPort), "0") << "an unset port shows 0";
    EXPECT_EQ(ItemText(page, kUser), "ann");
    EXPECT_EQ(ItemText(page, kPassword), "secret");
    EXPECT_TRUE(IsChecked(page, kDownloadAndSave));
    EXPECT_FALSE(IsChecked(page, kDownloadOnly));
    EXPECT_FALSE(IsChecked(page, kSkipFileScan));
    SaveScreenshot(sheet_, "settings-internet");

    Close(IDCANCEL);
    EXPECT_TRUE(spy_->Commands().empty());
    EXPECT_EQ(StoredSetting("FrequencyDivisor"), kMissing) << "Cancel writes nothing";
}

TEST_F(SettingsSheet, AudioDeviceChoicesAreAppliedAndRestartPlaybackOnce) {
    ASSERT_NO_FATAL_FAILURE(Open());
    const HWND page = Page(kAudioDevicePage);
    ChooseListItem(page, kDeviceList, 1);
    EXPECT_TRUE(WaitUntil([&] { return ListSelection(page, kDeviceList) == 1; }, 2000));
    Click(page, kMono);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kMono); }, 2000));
    EXPECT_FALSE(IsChecked(page, kStereo));
    Click(page, kBits8);
    Click(page, kThread);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kThread); }, 2000));
    EXPECT_TRUE(IsChecked(page, kBits8));
    EXPECT_FALSE(IsChecked(page, kTimer));
    // A choice the platform does not allow is refused.
    Click(page, kDeviceCallback);
    Sleep(200);
    EXPECT_FALSE(IsChecked(page, kDeviceCallback));
    EXPECT_TRUE(IsChecked(page, kThread));
    EXPECT_TRUE(IsPushed(page, kDeviceCallback));
    EXPECT_EQ(StoredSetting("Channels"), kMissing) << "nothing is written before Apply";

    Click(sheet_, kApplyNow);
    EXPECT_EQ(Taken(), (Commands{{kRestart, 0}}));
    EXPECT_EQ(EngineValues(), (std::vector<DWORD>{1, 2, 1, 8, 14, 2, 2, 0}));
    // OK after Apply with nothing changed since: no second restart.
    spy_->Clear();
    Close(IDOK);
    Sleep(300);
    EXPECT_TRUE(spy_->Commands().empty());
}

TEST_F(SettingsSheet, PlaybackModeAndBuffersShareTheModelAndOkWritesOnce) {
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND page = Page(kPlaybackModePage);
    Click(page, kRatio2);
    Click(page, kGood);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kGood); }, 2000));
    EXPECT_TRUE(IsChecked(page, kRatio2));
    EXPECT_FALSE(IsChecked(page, kRatio1));

    page = Page(kBuffersPage);
    PressKeys(page, kBufferSlider, {VK_LEFT});
    EXPECT_TRUE(WaitUntil([&] { return ItemText(page, kBufferText) == "0.50 seconds"; }, 2000))
        << ItemText(page, kBufferText);
    EXPECT_EQ(SliderPosition(page, kBufferSlider), 2u);
    PressKeys(page, kBufferSlider, {VK_END});
    EXPECT_TRUE(WaitUntil([&] { return ItemText(page, kBufferText) == "4.00 seconds"; }, 2000))
        << ItemText(page, kBufferText);
    Click(page, kDisableContinuous);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kDisableContinuous); }, 2000));

    Close(IDOK);
    EXPECT_EQ(EngineValues(), (std::vector<DWORD>{2, 3, 2, 16, 77, 2, 1, static_cast<DWORD>(-1)}));
    EXPECT_EQ(StoredSetting("CheckSystemPerformance"), 1u);
    EXPECT_EQ(StoredSetting("DisableContinuous"), 1u);
    // One restart for each page whose choices changed.
    EXPECT_EQ(Taken(), (Commands{{kRestart, 0}, {kRestart, 0}}));
    EXPECT_EQ(StoredSetting("DialogState"), kMissing);
    EXPECT_EQ(StoredSetting("TaskBar"), kMissing);
}

TEST_F(SettingsSheet, OkWithoutTouchingControlsPostsNoneOfItsCommands) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Page(kControlsPage);
    Page(kInternetPage);
    Close(IDOK);
    Sleep(300);
    EXPECT_TRUE(spy_->Commands().empty());
    for (const char* name : {"TaskBar", "ScrollCaption", "DialogState"})
        EXPECT_EQ(StoredSetting(name), kMissing) << name;
    EXPECT_EQ(StoredSetting("FrequencyDivisor"), kMissing);
    EXPECT_EQ(StoredSetting("SkipHTTPFileScan"), 1u) << "written by every apply of a shown Internet page";
}

TEST_F(SettingsSheet, ControlsPostTheirCommandsAndStoreTheirValues) {
    ASSERT_NO_FATAL_FAILURE(Open());
    const HWND page = Page(kControlsPage);
    Click(page, kTaskBar);
    EXPECT_TRUE(WaitUntil([&] { return !IsChecked(page, kTaskBar); }, 2000));
    ChooseListItem(page, kDialogSize, 2);
    EXPECT_TRUE(WaitUntil([&] { return ListSelection(page, kDialogSize) == 2; }, 2000));
    Close(IDOK);
    EXPECT_EQ(Taken(), (Commands{{kTaskBarHide, 0}, {kScrollerOn, 0}, {kSetDialogSize, 2}}));
    EXPECT_EQ(StoredSetting("TaskBar"), 0u);
    EXPECT_EQ(StoredSetting("ScrollCaption"), 1u);
    EXPECT_EQ(StoredSetting("DialogState"), 2u);
    EXPECT_EQ(EngineValues()[0], kMissing) << "the engine pages were not changed";
}

TEST_F(SettingsSheet, InternetEditsWriteWhatChanged) {
    SetRegInt(kConfigurationKey, "ProxyPort", 8080);
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND page = Page(kInternetPage);
    TypeText(page, kProxy, "cache.local");
    TypeText(page, kPort, "");
    TypeText(page, kUser, "bob");
    Click(page, kDownloadAndSave);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kDownloadAndSave); }, 2000));
    EXPECT_FALSE(IsChecked(page, kDownloadOnly));
    Click(page, kSkipFileScan);
    EXPECT_TRUE(WaitUntil([&] { return !IsChecked(page, kSkipFileScan); }, 2000));
    Close(IDOK);
    EXPECT_EQ(RegString("Proxy"), "cache.local");
    EXPECT_EQ(StoredSetting("ProxyPort"), 0u) << "an empty port is written as 0";
    EXPECT_EQ(RegString("User"), "bob");
    EXPECT_EQ(RegString("Password"), "") << "the account is written whole";
    EXPECT_EQ(StoredSetting("PlayAndSave"), 1u);
    EXPECT_EQ(StoredSetting("SkipHTTPFileScan"), 0u);
    player_.reset();

    // A port that is no number leaves the stored one; the password alone
    // writes the user name too.
    SetRegInt(kConfigurationKey, "ProxyPort", 3128);
    ASSERT_NO_FATAL_FAILURE(Open());
    page = Page(kInternetPage);
    EXPECT_EQ(ItemText(page, kPort), "3128");
    TypeText(page, kPort, "http");
    TypeText(page, kPassword, "pw");
    Close(IDOK);
    EXPECT_EQ(StoredSetting("ProxyPort"), 3128u);
    EXPECT_EQ(RegString("Proxy"), "cache.local");
    EXPECT_EQ(RegString("User"), "bob");
    EXPECT_EQ(RegString("Password"), "pw");
    EXPECT_EQ(StoredSetting("PlayAndSave"), 1u) << "unchanged, so not written";
}

TEST_F(SettingsSheet, CancelForgetsEveryChoiceAndPostsNothing) {
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND page = Page(kPlaybackModePage);
    Click(page, kRatio4);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kRatio4); }, 2000));
    page = Page(kControlsPage);
    Click(page, kScroller);
    page = Page(kInternetPage);
    TypeText(page, kProxy, "forgotten");
    Close(IDCANCEL);
    Sleep(300);
    EXPECT_TRUE(spy_->Commands().empty());
    for (const char* name : {"FrequencyDivisor", "ScrollCaption", "SkipHTTPFileScan"})
        EXPECT_EQ(StoredSetting(name), kMissing) << name;
    EXPECT_EQ(RegString("Proxy"), "<missing>");

    // Opened again, the sheet shows the stored values.
    Click(main_, kPropertiesButton);
    sheet_ = player_->WaitForBox(kSettingsCaption);
    ASSERT_NE(sheet_, nullptr);
    page = Page(kPlaybackModePage);
    EXPECT_TRUE(IsChecked(page, kRatio1));
    EXPECT_FALSE(IsChecked(page, kRatio4));
    Close(IDCANCEL);
}

TEST_F(SettingsSheet, PropertiesCommandWhileTheSheetIsOpenOpensNoSecondOne) {
    ASSERT_NO_FATAL_FAILURE(Open());
    PostCommand(main_, kPropertiesButton);
    PostCommand(main_, kPropertiesButton, 1);
    Sleep(500);
    DWORD process = 0;
    GetWindowThreadProcessId(main_, &process);
    EXPECT_EQ(SheetCount(process), 1);
    Close(IDCANCEL);
}

TEST_F(SettingsSheet, NonsenseInTheRegistryShowsAUsableSheet) {
    for (const auto& [name, value] : {std::pair{"FrequencyDivisor", 3}, std::pair{"Quality", 99999},
                                      std::pair{"Channels", -5}, std::pair{"BitsPerSample", 0},
                                      std::pair{"Buffers", 99999}, std::pair{"FramesPerBuffer", 0},
                                      std::pair{"PlaybackMethode", 3}, std::pair{"WaveOutDevice", 55},
                                      std::pair{"DialogState", 99}, std::pair{"ProxyPort", -5}})
        SetRegInt(kConfigurationKey, name, static_cast<DWORD>(value));
    SetRegString(kConfigurationKey, "Proxy", std::string(300, 'p'));
    ASSERT_NO_FATAL_FAILURE(Open());

    // Device 55 does not exist: its formats cannot be read, so every format
    // choice is pushed and refused; the values fall back to the defaults.
    HWND page = Page(kAudioDevicePage);
    EXPECT_EQ(ListSelection(page, kDeviceList), -1);
    for (const int id : {kStereo, kMono, kBits16, kBits8, kDeviceCallback}) EXPECT_TRUE(IsPushed(page, id)) << id;
    for (const int id : {kStereo, kBits16, kTimer}) EXPECT_TRUE(IsChecked(page, id)) << id;
    Click(page, kMono);
    Sleep(200);
    EXPECT_TRUE(IsChecked(page, kStereo));
    page = Page(kPlaybackModePage);
    for (const int id : {kRatio1, kRatio2, kRatio4}) EXPECT_TRUE(IsPushed(page, id)) << id;
    for (const int id : {kRatio1, kBetter}) EXPECT_TRUE(IsChecked(page, id)) << id;
    page = Page(kBuffersPage);
    EXPECT_EQ(SliderPosition(page, kBufferSlider), 2u);
    EXPECT_EQ(ItemText(page, kBufferText), "0.00 seconds") << "no frames per block";
    page = Page(kControlsPage);
    EXPECT_EQ(ListSelection(page, kDialogSize), 0);
    page = Page(kInternetPage);
    EXPECT_EQ(ItemText(page, kProxy), "") << "a text too long to read back shows as none";
    EXPECT_EQ(ItemText(page, kPort), "-5");

    // Choosing the wave mapper makes the choices usable again; Apply stores
    // what the sheet shows.
    page = Page(kAudioDevicePage);
    ChooseListItem(page, kDeviceList, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsPushed(page, kMono); }, 2000));
    Click(page, kMono);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kMono); }, 2000));
    Close(IDOK);
    EXPECT_EQ(EngineValues(), (std::vector<DWORD>{1, 2, 1, 16, 99999, 0, 1, static_cast<DWORD>(-1)}));
}

} // namespace
} // namespace quavera::test
