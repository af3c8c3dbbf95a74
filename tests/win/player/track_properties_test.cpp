// The track properties of the current track, opened by a double click on the
// song area: the ID3 tag, the durations and the MPEG statistics, shown and
// never written.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "player_driver.h"
#include "property_sheets.h"

namespace quavera::test {
namespace {

// Every value of the player's settings key, by name.
std::map<std::string, std::string> RegistryValues() {
    std::map<std::string, std::string> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kConfigurationKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, nullptr, data, &dataSize) != ERROR_SUCCESS) break;
        values[name].assign(reinterpret_cast<const char*>(data), dataSize);
    }
    RegCloseKey(key);
    return values;
}

// The up-down control's range as (lower, upper): the message's result holds both.
std::pair<long, long> SpinRange(HWND page, int id) {
    DWORD_PTR range = 0;
    SendMessageTimeoutA(GetDlgItem(page, id), UDM_GETRANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, &range);
    return {static_cast<short>(HIWORD(range)), static_cast<short>(LOWORD(range))};
}

long SpinPosition(HWND page, int id) {
    DWORD_PTR position = 0;
    SendMessageTimeoutA(GetDlgItem(page, id), UDM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position);
    return static_cast<short>(LOWORD(position));
}

bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }

class TrackProperties : public SheetTest {};

TEST_F(TrackProperties, TaggedFileShowsItsTagDurationsAndStatisticsAndStaysAsItWas) {
    const std::string file = StreamPath("tagged.mp2");
    const std::string before = FileContent(file);
    ASSERT_NO_FATAL_FAILURE(OpenTrackProperties(file));
    const auto settings = RegistryValues();

    HWND page = CurrentPage(sheet_);
    EXPECT_EQ(page, Page(kTagPage)) << "the sheet opens on the tag";
    EXPECT_EQ(ItemText(page, kTitle), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd") << "30 letters without a NUL";
    EXPECT_EQ(ItemText(page, kArtist), "Artist   ") << "blanks before the NUL stay";
    EXPECT_EQ(ItemText(page, kAlbum), "Album");
    EXPECT_EQ(ItemText(page, kYear), "2001");
    EXPECT_EQ(ItemText(page, kComment), "\xff\xfe\x01\x07" "end");
    for (const int id : {kTitle, kArtist, kAlbum, kYear, kComment})
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(page, id), GWL_STYLE) & ES_READONLY) << id;
    SaveScreenshot(sheet_, "track-id3-tag");

    page = Page(kPropertiesPage);
    EXPECT_EQ(ItemText(page, kFileName), file);
    EXPECT_EQ(ItemText(page, kVolumePreset), "100");
    EXPECT_EQ(ItemText(page, kFileDuration), "0:10");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), "0:10") << "no limit: the whole file";
    EXPECT_EQ(SpinRange(page, kDurationSpin), (std::pair<long, long>{5, 10}));
    EXPECT_EQ(SpinPosition(page, kDurationSpin), 10);
    EXPECT_EQ(SpinRange(page, kVolumeSpin), (std::pair<long, long>{1, 100}));
    EXPECT_FALSE(Enabled(page, kVolumeSpin));
    EXPECT_FALSE(Enabled(page, kDurationSpin));
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(page, kVolumePreset), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(page, kPlaybackDuration), GWL_STYLE) & ES_READONLY);
    SaveScreenshot(sheet_, "track-properties");

    page = Page(kStatisticsPage);
    EXPECT_EQ(ItemText(page, kType), "MPEG 1 Audio Layer II");
    EXPECT_EQ(ItemText(page, kFrequency), "44.1kHz");
    EXPECT_EQ(ItemText(page, kChannelMode), "Stereo");
    EXPECT_EQ(ItemText(page, kBitrate), "128kBit/sec");
    EXPECT_EQ(ItemText(page, kPackRatio), "1:11.02");
    EXPECT_EQ(ItemText(page, kDescription), "---");
    SaveScreenshot(sheet_, "track-mpeg-statistics");

    Close(IDOK);
    EXPECT_EQ(FileContent(file), before) << "the tag is never written";
    EXPECT_EQ(RegistryValues(), settings) << "nor are the settings";
    EXPECT_EQ(WindowText(main_), "Quavera - tagged (stopped)");
}

TEST_F(TrackProperties, FileWithoutATagShowsDashesAndALimitShowsThePlaybackDuration) {
    // The command line's text is the entry: a volume preset of 50 and a
    // limit of 90 seconds for a file of two minutes, which its frames make
    // a few milliseconds shorter.
    ASSERT_NO_FATAL_FAILURE(OpenTrackProperties(StreamPath("tone120.mp2") + ";Alias;50;90000"));
    HWND page = Page(kTagPage);
    for (const int id : {kTitle, kArtist, kAlbum, kYear, kComment}) EXPECT_EQ(ItemText(page, id), "---") << id;
    page = Page(kPropertiesPage);
    EXPECT_EQ(ItemText(page, kFileName), StreamPath("tone120.mp2"));
    EXPECT_EQ(ItemText(page, kVolumePreset), "50");
    EXPECT_EQ(ItemText(page, kFileDuration), "1:59");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), "1:30");
    EXPECT_EQ(SpinRange(page, kDurationSpin), (std::pair<long, long>{5, 119}));
    EXPECT_EQ(SpinPosition(page, kDurationSpin), 90);
    Close(IDCANCEL);
}

TEST_F(TrackProperties, NonsenseInTheEntryShowsWhatPlaybackUses) {
    // Twenty separators, a volume preset out of range and a limit beyond the file.
    for (const auto& [fields, volume, duration] :
         {std::tuple{std::string(20, ';'), "100", "0:10"}, std::tuple{std::string(";x;-5;999999"), "100", "0:10"},
          std::tuple{std::string(";x;99999;abc"), "100", "0:10"}, std::tuple{std::string(";;7;3000;;"), "7", "0:03"}}) {
        SCOPED_TRACE(fields);
        ASSERT_NO_FATAL_FAILURE(OpenTrackProperties(StreamPath("tone10.mp2") + fields));
        const HWND page = Page(kPropertiesPage);
        EXPECT_EQ(ItemText(page, kFileName), StreamPath("tone10.mp2"));
        EXPECT_EQ(ItemText(page, kVolumePreset), volume);
        EXPECT_EQ(ItemText(page, kPlaybackDuration), duration);
        EXPECT_LE(SpinPosition(page, kDurationSpin), 10);
        Close(IDCANCEL);
        player_.reset();
    }
}

// The track list's menu shows the chosen line's entry, not the current
// track's, and leaves the queue where it was.
TEST_F(TrackProperties, TheTrackListsMenuShowsTheChosenLine) {
    const std::string tone = StreamPath("tone120.mp2");
    player_ = std::make_unique<PlayerProcess>(WriteTempFile(
        "quavera-properties.m3u", StreamPath("tone10.mp2") + ";A\r\n" + tone + ";B;50;90000\r\n" + tone + ";C\r\n"));
    main_ = player_->WaitForCaption("Quavera - A (stopped)");
    ASSERT_NE(main_, nullptr);
    RightClickListLine(main_, kTrackList, 1);
    ASSERT_TRUE(player_->ChooseMenuItem(2));
    sheet_ = player_->WaitForBox(kTrackCaption);
    ASSERT_NE(sheet_, nullptr);
    const HWND page = Page(kPropertiesPage);
    EXPECT_EQ(ItemText(page, kFileName), tone);
    EXPECT_EQ(ItemText(page, kVolumePreset), "50");
    EXPECT_EQ(ItemText(page, kPlaybackDuration), "1:30");
    Close(IDOK);
    EXPECT_EQ(WindowText(main_), "Quavera - A (stopped)");
    EXPECT_EQ(ItemText(main_, kTrackNumber), "1 ");
}

TEST_F(TrackProperties, OnlyTheSongAreaOpensThePropertiesAndOnlyForALoadedTrack) {
    {
        PlayerProcess player("");
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        DoubleClick(main, kTrackName);
        EXPECT_EQ(player.WaitForBox(kTrackCaption, 500), nullptr) << "no track";
    }
    PlayerProcess player(StreamPath("tone10.mp2"));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone10 (stopped)"; }, 5000));
    // Elsewhere a double click changes the dialog's size instead.
    DoubleClick(main, kTrackTime);
    EXPECT_EQ(player.WaitForBox(kTrackCaption, 500), nullptr) << "the time is no part of the song area";
    EXPECT_EQ(StoredSetting("DialogState"), 1u);
    PostMessageA(main, WM_COMMAND, kSetDialogSize, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(main, kSourceParameters); }, 3000));
    DoubleClick(main, kSourceParameters);
    const HWND sheet = player.WaitForBox(kTrackCaption);
    ASSERT_NE(sheet, nullptr);
    Click(sheet, IDCANCEL);
}

} // namespace
} // namespace quavera::test
