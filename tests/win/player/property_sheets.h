#pragma once
// The player's two property sheets as the tests see them: the pages in
// order, the ids of their controls, the commands the settings post, and a
// fixture that holds a player with one of its sheets open.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "player_driver.h"

namespace quavera::test {

constexpr const char* kSettingsCaption = "Quavera Properties";
constexpr const char* kTrackCaption = "Stream file properties";

enum SettingsPage : int { kAudioDevicePage, kPlaybackModePage, kBuffersPage, kControlsPage, kInternetPage };
enum SettingsControl : int {
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
// What the settings post to the main dialog.
enum SettingsCommand : WPARAM {
    kRestart = 21383,
    kTaskBarShow = 21384,
    kTaskBarHide = 21385,
    kScrollerOn = 21386,
    kScrollerOff = 21387,
    kSetDialogSize = 21388,
};

enum TrackPage : int { kTagPage, kPropertiesPage, kStatisticsPage };
enum TrackControl : int {
    kVolumePreset = 1008,
    kTitle = 1018,
    kVolumeSpin = 1115,
    kFileName = 1121,
    kPlaybackDuration = 1122,
    kDurationSpin = 1123,
    kFileDuration = 1124,
    kType = 1126,
    kFrequency = 1127,
    kChannelMode = 1128,
    kBitrate = 1129,
    kPackRatio = 1130,
    kDescription = 1131,
    kArtist = 1133,
    kAlbum = 1134,
    kYear = 1135,
    kComment = 1136,
};

class SheetTest : public PlayerTest {
protected:
    // The player ends before its settings are reset.
    void TearDown() override {
        player_.reset();
        PlayerTest::TearDown();
    }

    // Starts the player with the arguments and, once the track is loaded,
    // opens its properties by a double click on the song area.
    void OpenTrackProperties(const std::string& arguments, int timeoutMs = 5000) {
        player_ = std::make_unique<PlayerProcess>(arguments);
        main_ = player_->WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return WindowText(main_).find("(stopped)") != std::string::npos; }, timeoutMs))
            << WindowText(main_);
        DoubleClick(main_, kTrackName);
        sheet_ = player_->WaitForBox(kTrackCaption);
        ASSERT_NE(sheet_, nullptr);
    }

    // The sheet's page at index, shown as a click on its tab shows it.
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

    std::unique_ptr<PlayerProcess> player_;
    HWND main_ = nullptr;
    HWND sheet_ = nullptr;
};

} // namespace quavera::test
