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

namespace quavera::test {
namespace {

constexpr const char* kCaption = "Quavera Properties";
enum Page : int { kAudioDevice, kPlaybackMode, kBuffers, kControls, kInternet };
enum SettingsControl : int {
    kProperties = 1012,
    kDeviceList = 1025,
    kRatio1 = 1029,
    kRatio2 = 1030,
    kRatio4 = 1031,
    kBest = 1032,
    kBetter = 1033,
    kGood = 1034,
    kStereo = 1035,
    kMono = 1036,
    kBits16 = 1037,
    kBits8 = 1038,
    kTimer = 1039,
    kThread = 1040,
    kDeviceCallback = 1041,
    kBufferText = 1079,
    kBufferSlider = 1080,
    kTaskBar = 1083,
    kScroller = 1084,
    kDialogSize = 1088,
    kProxy = 1097,
    kPort = 1098,
    kUser = 1099,
    kPassword = 1100,
    kDownloadOnly = 1101,
    kDownloadAndSave = 1102,
    kSkipFileScan = 1109,
    kDisableContinuous = 1125,
};
enum Command : WPARAM {
    kRestart = 21383,
    kTaskBarShow = 21384,
    kTaskBarHide = 21385,
    kScrollerOn = 21386,
    kScrollerOff = 21387,
    kSetDialogSize = 21388,
};
using Commands = std::vector<std::pair<WPARAM, LPARAM>>;

constexpr DWORD kMissing = 0xDEADBEEF;

DWORD RegInt(const char* name) {
    DWORD value = kMissing;
    GetRegInt(kConfigurationKey, name, &value);
    return value;
}

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
        values.push_back(RegInt(name));
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
    if (owner == search->process && IsWindowVisible(window) && WindowText(window) == kCaption) ++search->count;
    return TRUE;
}

// Number of visible settings sheets of the player.
int SheetCount(DWORD process) {
    SheetSearch search{process, 0};
    EnumWindows(CountSheet, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

class SettingsSheet : public ::testing::Test {
protected:
    void SetUp() override { ResetPlayerSettings(); }
    void TearDown() override { ResetPlayerSettings(); }

    // Starts the player, starts recording its commands and opens the sheet
    // with the Properties button.
    void Open(const std::string& arguments = "") {
        player_ = std::make_unique<PlayerProcess>(arguments);
        main_ = player_->WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        spy_ = std::make_unique<CommandSpy>(main_);
        ASSERT_TRUE(spy_->active());
        Click(main_, kProperties);
        sheet_ = player_->WaitForBox(kCaption);
        ASSERT_NE(sheet_, nullptr);
    }

    HWND Page(int index) {
        const HWND page = ShowPage(sheet_, index);
        EXPECT_NE(page, nullptr) << "page " << index;
        return page;
    }

    // Presses OK or Cancel and waits for the sheet to go.
    void Close(int button) {
        Click(sheet_, button);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet_); }, 3000));
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

    std::unique_ptr<PlayerProcess> player_;
    std::unique_ptr<CommandSpy> spy_;
    HWND main_ = nullptr;
    HWND sheet_ = nullptr;
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
    EXPECT_EQ(page, Page(kAudioDevice)) << "the sheet opens on its first page";
    const auto devices = ListItems(page, kDeviceList);
    ASSERT_GE(devices.size(), 2u);
    EXPECT_EQ(devices[0], "Windows WAVE Mapper");
    EXPECT_EQ(ListSelection(page, kDeviceList), 0);
    for (const int id : {kStereo, kBits16, kTimer}) EXPECT_TRUE(IsChecked(page, id)) << id;
    for (const int id : {kMono, kBits8, kThread, kDeviceCallback}) EXPECT_FALSE(IsChecked(page, id)) << id;
    EXPECT_TRUE(IsPushed(page, kDeviceCallback)) << "no device callback on Windows NT";
    for (const int id : {kStereo, kMono, kBits16, kBits8, kTimer, kThread}) EXPECT_FALSE(IsPushed(page, id)) << id;
    SaveScreenshot(sheet_, "settings-audio-device");

    page = Page(kPlaybackMode);
    for (const int id : {kRatio1, kBetter}) EXPECT_TRUE(IsChecked(page, id)) << id;
    for (const int id : {kRatio2, kRatio4, kBest, kGood}) EXPECT_FALSE(IsChecked(page, id)) << id;
    SaveScreenshot(sheet_, "settings-playback-mode");

    page = Page(kBuffers);
    EXPECT_EQ(SliderPosition(page, kBufferSlider), 3u);
    EXPECT_EQ(SliderMaximum(page, kBufferSlider), 16u);
    EXPECT_EQ(ItemText(page, kBufferText), "0.75 seconds");
    EXPECT_TRUE(IsChecked(page, kDisableContinuous));
    SaveScreenshot(sheet_, "settings-buffers");

    page = Page(kControls);
    EXPECT_TRUE(IsChecked(page, kTaskBar));
    EXPECT_TRUE(IsChecked(page, kScroller));
    EXPECT_EQ(ListItems(page, kDialogSize),
              (std::vector<std::string>{"Large dialog (all controls, multi track display)",
                                        "Medium dialog (playback + general controls)",
                                        "Small dialog (playback controls only)",
                                        "Hide dialog (no window, no taskbar entry)"}));
    EXPECT_EQ(ListSelection(page, kDialogSize), 1);
    SaveScreenshot(sheet_, "settings-controls");

    page = Page(kInternet);
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
    EXPECT_EQ(RegInt("FrequencyDivisor"), kMissing) << "Cancel writes nothing";
}

TEST_F(SettingsSheet, AudioDeviceChoicesAreAppliedAndRestartPlaybackOnce) {
    ASSERT_NO_FATAL_FAILURE(Open());
    const HWND page = Page(kAudioDevice);
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
    EXPECT_EQ(RegInt("Channels"), kMissing) << "nothing is written before Apply";

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
    HWND page = Page(kPlaybackMode);
    Click(page, kRatio2);
    Click(page, kGood);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kGood); }, 2000));
    EXPECT_TRUE(IsChecked(page, kRatio2));
    EXPECT_FALSE(IsChecked(page, kRatio1));

    page = Page(kBuffers);
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
    EXPECT_EQ(RegInt("CheckSystemPerformance"), 1u);
    EXPECT_EQ(RegInt("DisableContinuous"), 1u);
    // One restart for each page whose choices changed.
    EXPECT_EQ(Taken(), (Commands{{kRestart, 0}, {kRestart, 0}}));
    EXPECT_EQ(RegInt("DialogState"), kMissing);
    EXPECT_EQ(RegInt("TaskBar"), kMissing);
}

TEST_F(SettingsSheet, OkWithoutTouchingControlsPostsNoneOfItsCommands) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Page(kControls);
    Page(kInternet);
    Close(IDOK);
    Sleep(300);
    EXPECT_TRUE(spy_->Commands().empty());
    for (const char* name : {"TaskBar", "ScrollCaption", "DialogState"}) EXPECT_EQ(RegInt(name), kMissing) << name;
    EXPECT_EQ(RegInt("FrequencyDivisor"), kMissing);
    EXPECT_EQ(RegInt("SkipHTTPFileScan"), 1u) << "written by every apply of a shown Internet page";
}

TEST_F(SettingsSheet, ControlsPostTheirCommandsAndStoreTheirValues) {
    ASSERT_NO_FATAL_FAILURE(Open());
    const HWND page = Page(kControls);
    Click(page, kTaskBar);
    EXPECT_TRUE(WaitUntil([&] { return !IsChecked(page, kTaskBar); }, 2000));
    ChooseListItem(page, kDialogSize, 2);
    EXPECT_TRUE(WaitUntil([&] { return ListSelection(page, kDialogSize) == 2; }, 2000));
    Close(IDOK);
    EXPECT_EQ(Taken(), (Commands{{kTaskBarHide, 0}, {kScrollerOn, 0}, {kSetDialogSize, 2}}));
    EXPECT_EQ(RegInt("TaskBar"), 0u);
    EXPECT_EQ(RegInt("ScrollCaption"), 1u);
    EXPECT_EQ(RegInt("DialogState"), 2u);
    EXPECT_EQ(EngineValues()[0], kMissing) << "the engine pages were not changed";
}

TEST_F(SettingsSheet, InternetEditsWriteWhatChanged) {
    SetRegInt(kConfigurationKey, "ProxyPort", 8080);
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND page = Page(kInternet);
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
    EXPECT_EQ(RegInt("ProxyPort"), 0u) << "an empty port is written as 0";
    EXPECT_EQ(RegString("User"), "bob");
    EXPECT_EQ(RegString("Password"), "") << "the account is written whole";
    EXPECT_EQ(RegInt("PlayAndSave"), 1u);
    EXPECT_EQ(RegInt("SkipHTTPFileScan"), 0u);
    player_.reset();

    // A port that is no number leaves the stored one; the password alone
    // writes the user name too.
    SetRegInt(kConfigurationKey, "ProxyPort", 3128);
    ASSERT_NO_FATAL_FAILURE(Open());
    page = Page(kInternet);
    EXPECT_EQ(ItemText(page, kPort), "3128");
    TypeText(page, kPort, "http");
    TypeText(page, kPassword, "pw");
    Close(IDOK);
    EXPECT_EQ(RegInt("ProxyPort"), 3128u);
    EXPECT_EQ(RegString("Proxy"), "cache.local");
    EXPECT_EQ(RegString("User"), "bob");
    EXPECT_EQ(RegString("Password"), "pw");
    EXPECT_EQ(RegInt("PlayAndSave"), 1u) << "unchanged, so not written";
}

TEST_F(SettingsSheet, CancelForgetsEveryChoiceAndPostsNothing) {
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND page = Page(kPlaybackMode);
    Click(page, kRatio4);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kRatio4); }, 2000));
    page = Page(kControls);
    Click(page, kScroller);
    page = Page(kInternet);
    TypeText(page, kProxy, "forgotten");
    Close(IDCANCEL);
    Sleep(300);
    EXPECT_TRUE(spy_->Commands().empty());
    for (const char* name : {"FrequencyDivisor", "ScrollCaption", "SkipHTTPFileScan"})
        EXPECT_EQ(RegInt(name), kMissing) << name;
    EXPECT_EQ(RegString("Proxy"), "<missing>");

    // Opened again, the sheet shows the stored values.
    Click(main_, kProperties);
    sheet_ = player_->WaitForBox(kCaption);
    ASSERT_NE(sheet_, nullptr);
    page = Page(kPlaybackMode);
    EXPECT_TRUE(IsChecked(page, kRatio1));
    EXPECT_FALSE(IsChecked(page, kRatio4));
    Close(IDCANCEL);
}

TEST_F(SettingsSheet, PropertiesCommandWhileTheSheetIsOpenOpensNoSecondOne) {
    ASSERT_NO_FATAL_FAILURE(Open());
    PostCommand(main_, kProperties);
    PostCommand(main_, kProperties, 1);
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
    HWND page = Page(kAudioDevice);
    EXPECT_EQ(ListSelection(page, kDeviceList), -1);
    for (const int id : {kStereo, kMono, kBits16, kBits8, kDeviceCallback}) EXPECT_TRUE(IsPushed(page, id)) << id;
    for (const int id : {kStereo, kBits16, kTimer}) EXPECT_TRUE(IsChecked(page, id)) << id;
    Click(page, kMono);
    Sleep(200);
    EXPECT_TRUE(IsChecked(page, kStereo));
    page = Page(kPlaybackMode);
    for (const int id : {kRatio1, kRatio2, kRatio4}) EXPECT_TRUE(IsPushed(page, id)) << id;
    for (const int id : {kRatio1, kBetter}) EXPECT_TRUE(IsChecked(page, id)) << id;
    page = Page(kBuffers);
    EXPECT_EQ(SliderPosition(page, kBufferSlider), 2u);
    EXPECT_EQ(ItemText(page, kBufferText), "0.00 seconds") << "no frames per block";
    page = Page(kControls);
    EXPECT_EQ(ListSelection(page, kDialogSize), 0);
    page = Page(kInternet);
    EXPECT_EQ(ItemText(page, kProxy), "") << "a text too long to read back shows as none";
    EXPECT_EQ(ItemText(page, kPort), "-5");

    // Choosing the wave mapper makes the choices usable again; Apply stores
    // what the sheet shows.
    page = Page(kAudioDevice);
    ChooseListItem(page, kDeviceList, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsPushed(page, kMono); }, 2000));
    Click(page, kMono);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(page, kMono); }, 2000));
    Close(IDOK);
    EXPECT_EQ(EngineValues(), (std::vector<DWORD>{1, 2, 1, 16, 99999, 0, 1, static_cast<DWORD>(-1)}));
}

} // namespace
} // namespace quavera::test
