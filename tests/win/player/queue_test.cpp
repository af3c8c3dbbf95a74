// The queue as the user meets it: playlists from the command line, the track
// section and its list, Next and Previous, choices from the list, random and
// endless modes, the total times, the Open dialog's several files, and
// playlists that cannot be played as they stand.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "player_driver.h"

namespace quavera::test {
namespace {

using PlayerQueue = PlayerTest;

// "Track:", "Total:" and "To go:".
std::string Counters(HWND main) {
    return ItemText(main, kTrackNumber) + "|" + ItemText(main, kTrackCount) + "|" + ItemText(main, kTracksToGo);
}

bool CountersBecome(HWND main, const std::string& counters) {
    return WaitUntil([&] { return Counters(main) == counters; }, 5000);
}

int WindowWidth(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

// A playlist beside the test streams, so that it can name them relatively.
std::string WriteStreamFile(const char* name, const std::string& content) {
    const std::string path = StreamPath(name);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
    return path;
}

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

TEST_F(PlayerQueue, OneEntryHidesTheTrackSectionTwoShowIt) {
    int narrow = 0;
    {
        PlayerProcess player(WriteTempFile("quavera-one.m3u", Lines({StreamPath("tone1.mp2")})));
        const HWND main = player.WaitForCaption("Quavera - tone1 (stopped)");
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(IsShown(main, kTrackList));
        EXPECT_FALSE(IsShown(main, kTrackNumber));
        narrow = WindowWidth(main);
    }
    PlayerProcess player(WriteTempFile("quavera-two.m3u", Lines({StreamPath("tone1.mp2"), StreamPath("tone10.mp2")})));
    const HWND main = player.WaitForCaption("Quavera - tone1 (stopped)");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsShown(main, kTrackList));
    EXPECT_GT(WindowWidth(main), narrow + 100);
    EXPECT_EQ(Counters(main), "1 |2 |1 ");
    EXPECT_EQ(ListBoxLines(main, kTrackList), (std::vector<std::string>{"1. tone1", "2. tone10"}));
    EXPECT_EQ(ListBoxSelection(main, kTrackList), 0);
    EXPECT_EQ(ItemText(main, kTotalTime), "0:11min ");
    EXPECT_EQ(ItemText(main, kTotalPosition), " 0:00min ");
    EXPECT_EQ(ItemText(main, kTotalModeLabel), "Total elap. time:");
    EXPECT_EQ(ItemText(main, kTrackName), "tone1");
    SaveScreenshot(main, "queue-two-tracks");
}

TEST_F(PlayerQueue, M3uCommentsBlankLinesAndExtinfTitlesWithUnreadableEntries) {
    const std::string list = WriteStreamFile("queue-extended.m3u", Lines({
        "#EXTM3U",
        "#EXTINF:75,Seventy-five",
        "tone10.mp2",
        "",
        "# a comment between the entries",
        "tone1.mp2;Short one;50",
        "missing.mp2",
        "C:\\windows",
        "Q:\\no drive\\x.mp2",
        "http://127.0.0.1:9/live.mp3",
    }));
    PlayerProcess player(list);
    const HWND main = player.WaitForCaption("Quavera - Seventy-five (stopped)");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ListBoxLines(main, kTrackList),
              (std::vector<std::string>{"1. Seventy-five", "2. Short one", "3. Error accessing file!",
                                        "4. Error accessing file!", "5. Error accessing file!", "6. live"}));
    EXPECT_EQ(Counters(main), "1 |6 |2 ");
    // 75 s stated by "#EXTINF", about 1 s scanned, nothing for the stream.
    EXPECT_EQ(ItemText(main, kTotalTime), "1:16min ");
    EXPECT_EQ(ItemText(main, kTrackName), "Seventy-five");
    EXPECT_EQ(player.WaitForBox("Error!", 300), nullptr) << "missing files, folders and drives ask no engine box";
}

TEST_F(PlayerQueue, PlsWithAMissingKeyAndRelativeAndAbsoluteNames) {
    const std::string list = WriteStreamFile(
        "queue-three.pls", "[playlist]\r\nNumberOfEntries=3\r\nFile1=tone1.mp2\r\nFile3=" + StreamPath("tone10.mp2") +
                               ";Ten;;4000\r\n");
    PlayerProcess player(list);
    const HWND main = player.WaitForCaption("Quavera - tone1 (stopped)");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ListBoxLines(main, kTrackList),
              (std::vector<std::string>{"1. tone1", "2. Error accessing file!", "3. Ten"}));
    EXPECT_EQ(ItemText(main, kTotalTime), "0:05min ") << "the limit of 4 s counts, not the file's 10 s";
}

TEST_F(PlayerQueue, NextAndPreviousInSequenceAndAtBothEnds) {
    // Long tracks: none ends while the test steps through the queue.
    const std::string tone = StreamPath("tone120.mp2");
    PlayerProcess player(WriteTempFile("quavera-abc.m3u", Lines({tone + ";A", tone + ";B", tone + ";C"})));
    const HWND main = player.WaitForCaption("Quavera - A (stopped)");
    ASSERT_NE(main, nullptr);
    Click(main, kPrevious);
    Sleep(300);
    EXPECT_EQ(Counters(main), "1 |3 |2 ") << "nothing before the first track";
    Click(main, kNext);
    EXPECT_TRUE(CountersBecome(main, "2 |3 |1 "));
    EXPECT_EQ(ListBoxSelection(main, kTrackList), 1);
    Click(main, kNext);
    EXPECT_TRUE(CountersBecome(main, "3 |3 |0 "));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main).rfind("Quavera - C", 0) == 0; }));
    Click(main, kStop);
    ASSERT_TRUE(CountersBecome(main, "1 |3 |2 ")) << "Stop rewinds the queue";
    EXPECT_EQ(WindowText(main), "Quavera - A (stopped)");
    EXPECT_EQ(ListBoxSelection(main, kTrackList), 0);

    Click(main, kNext);
    Click(main, kNext);
    ASSERT_TRUE(CountersBecome(main, "3 |3 |0 "));
    Click(main, kNext);
    Sleep(300);
    EXPECT_EQ(Counters(main), "3 |3 |0 ") << "a Next of the user's own at the end changes nothing shown";
    EXPECT_TRUE(WindowText(main).rfind("Quavera - C", 0) == 0) << WindowText(main);
    Click(main, kPrevious);
    EXPECT_TRUE(CountersBecome(main, "2 |3 |1 "));
    Click(main, kPrevious);
    EXPECT_TRUE(CountersBecome(main, "1 |3 |2 "));
    Click(main, kEndless);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(main, kEndless); }));
    Click(main, kPrevious);
    EXPECT_TRUE(CountersBecome(main, "3 |3 |0 ")) << "endless: before the first comes the last";
    Click(main, kNext);
    EXPECT_TRUE(CountersBecome(main, "1 |3 |2 ")) << "endless: after the last comes the first";
    EXPECT_EQ(StoredSetting("EndlessPlayback"), 1u);
}

TEST_F(PlayerQueue, AnUnreadableTrackOnTheWayAsksWhetherToGoOn) {
    const std::string tone = StreamPath("tone120.mp2");
    PlayerProcess player(WriteTempFile("quavera-gap.m3u", Lines({tone + ";A", StreamPath("missing.mp2"), tone + ";C"})));
    const HWND main = player.WaitForCaption("Quavera - A (stopped)");
    ASSERT_NE(main, nullptr);
    Click(main, kNext);
    HWND box = player.WaitForBox("Playlist abort");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(player.Answer(box, IDNO), "Do you want to cancel the actual playback request?");
    EXPECT_TRUE(CountersBecome(main, "3 |3 |0 ")) << "No goes on to the next track";
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main).rfind("Quavera - C", 0) == 0; })) << WindowText(main);
    Click(main, kPrevious);
    EXPECT_TRUE(CountersBecome(main, "1 |3 |1 ")) << "Previous passes over it without asking";
    Click(main, kNext);
    box = player.WaitForBox("Playlist abort");
    ASSERT_NE(box, nullptr);
    player.Answer(box, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(player.WaitForBox("Playlist abort", 500), nullptr) << "Yes ends the command";
    EXPECT_TRUE(player.Close());
}

TEST_F(PlayerQueue, LinesChosenFromTheListAndItsMenuPlay) {
    const std::string tone = StreamPath("tone120.mp2");
    PlayerProcess player(
        WriteTempFile("quavera-choose.m3u", Lines({tone + ";A", tone + ";B", tone + ";C", tone + ";D"})));
    const HWND main = player.WaitForCaption("Quavera - A (stopped)");
    ASSERT_NE(main, nullptr);
    DoubleClickListLine(main, kTrackList, 2);
    EXPECT_TRUE(CountersBecome(main, "3 |4 |1 ")) << "the tracks before it count as played";
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - C"; })) << WindowText(main);
    RightClickListLine(main, kTrackList, 1);
    ASSERT_TRUE(player.ChooseFirstMenuItem());
    EXPECT_TRUE(CountersBecome(main, "2 |4 |2 ")) << "the tracks after it wait again";
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - B"; })) << WindowText(main);
    EXPECT_EQ(ListBoxSelection(main, kTrackList), 1);
}

TEST_F(PlayerQueue, TotalTimesTakeMinutesBelowAnHourAndHoursFromItInBothModes) {
    const std::string tone = StreamPath("tone1.mp2");
    {
        // Two tracks whose stated lengths make 59:59.
        PlayerProcess player(WriteTempFile("quavera-5959.m3u", Lines({tone + ";A;;1799500", tone + ";B;;1799500"})));
        const HWND main = player.WaitForCaption("Quavera - A (stopped)");
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(ItemText(main, kTotalTime), "59:59min ");
        EXPECT_EQ(ItemText(main, kTotalPosition), " 0:00min ");
        Click(main, kTotalRemainingMode);
        EXPECT_TRUE(WaitUntil([&] { return ItemText(main, kTotalPosition) == "-59:59min "; }))
            << ItemText(main, kTotalPosition);
        EXPECT_EQ(ItemText(main, kTotalModeLabel), "Total rem. time:");
        EXPECT_TRUE(IsChecked(main, kTotalRemainingMode));
        EXPECT_FALSE(IsChecked(main, kTotalElapsedMode));
    }
    EXPECT_EQ(StoredSetting("TotalTimeDisplay"), 1u);
    PlayerProcess player(WriteTempFile("quavera-6000.m3u", Lines({tone + ";A;;1800000", tone + ";B;;1800000"})));
    const HWND main = player.WaitForCaption("Quavera - A (stopped)");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ItemText(main, kTotalTime), "1:00:00h ");
    EXPECT_EQ(ItemText(main, kTotalPosition), "-1:00:00h ") << "the remaining mode was kept";
    Click(main, kNext);
    EXPECT_TRUE(WaitUntil([&] { return ItemText(main, kTotalPosition) == "-0:30:00h "; }))
        << ItemText(main, kTotalPosition);
    Click(main, kTotalElapsedMode);
    EXPECT_TRUE(WaitUntil([&] { return ItemText(main, kTotalPosition) == " 0:30:00h "; }))
        << ItemText(main, kTotalPosition);
}

TEST_F(PlayerQueue, RandomPlaysEveryTrackOnceAndItsModeIsStored) {
    const std::string tone = StreamPath("tone120.mp2");
    std::vector<std::string> entries;
    for (const char* alias : {"A", "B", "C", "D", "E"}) entries.push_back(tone + ";" + alias);
    std::string text;
    for (const std::string& entry : entries) text += entry + "\r\n";
    PlayerProcess player("/r " + WriteTempFile("quavera-random.m3u", text));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ItemText(main, kTracksToGo) == "4 "; }));
    EXPECT_TRUE(IsChecked(main, kRandom));
    std::vector<std::string> seen{ItemText(main, kTrackNumber)};
    for (int togo = 3; togo >= 0; --togo) {
        Click(main, kNext);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(main, kTracksToGo) == std::to_string(togo) + " "; }));
        const std::string track = ItemText(main, kTrackNumber);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), track), 0) << track << " twice";
        seen.push_back(track);
    }
    Click(main, kNext);
    Sleep(300);
    EXPECT_EQ(ItemText(main, kTracksToGo), "0 ") << "without endless, random ends with the round";
    EXPECT_EQ(StoredSetting("RandomPlayback"), 1u);
    Click(main, kRandom);
    EXPECT_TRUE(WaitUntil([&] { return !IsChecked(main, kRandom); }));
    EXPECT_EQ(StoredSetting("RandomPlayback"), 0u);
}

TEST_F(PlayerQueue, SeveralFilesChosenInTheOpenDialogBecomeTheTemporaryListPls) {
    SetRegString(kConfigurationKey, "RecentFile", StreamPath("tone1.mp2"));
    PlayerProcess player("");
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    Click(main, kOpen);
    const HWND open = player.WaitForBox("Open");
    ASSERT_NE(open, nullptr);
    // The file name field of the dialog, as the user types into it.
    for (const int field : {0x47C, 0x480}) SetDlgItemTextA(open, field, "\"tone10.mp2\" \"tone1.mp2\"");
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(CountersBecome(main, "1 |2 |1 ")) << Counters(main);
    const std::string list = TempFolder() + "list.pls";
    EXPECT_EQ(FileContent(list), "[playlist]\r\nFile1=" + StreamPath("tone10.mp2") + "\r\nFile2=" + StreamPath("tone1.mp2") +
                                  "\r\nNumberOfEntries=2\r\n");
    EXPECT_EQ(ListBoxLines(main, kTrackList), (std::vector<std::string>{"1. tone10", "2. tone1"}));
    std::string recent;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentFile", &recent));
    EXPECT_EQ(recent, list);
}

// Playlists that cannot be played as they stand: each says so, and the
// player stays usable.
class PlayerQueueBadInput : public PlayerQueue {
protected:
    static void ExpectUsable(PlayerProcess& player) {
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        PostCommand(main, kNext);
        PostCommand(main, kPrevious);
        PostCommand(main, kPlay);
        EXPECT_TRUE(player.Close());
    }
};

TEST_F(PlayerQueueBadInput, PlaylistsWithoutEntriesSaySo) {
    for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
             {"quavera-empty.m3u", "#EXTM3U\r\n\r\n# nothing\r\n"},
             {"quavera-none.pls", "[playlist]\r\nNumberOfEntries=0\r\nFile1=x.mp2\r\n"},
             {"quavera-negative.pls", "[playlist]\r\nNumberOfEntries=-1\r\nFile1=x.mp2\r\n"}}) {
        SCOPED_TRACE(name);
        const std::string path = WriteTempFile(name, content);
        PlayerProcess player(path);
        const HWND box = player.WaitForBox("Open playlist");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(player.Answer(box, IDOK), "The playlist " + path + " holds no entries.");
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(WindowText(main), "Quavera");
        EXPECT_FALSE(IsShown(main, kTrackList));
        ExpectUsable(player);
    }
}

TEST_F(PlayerQueueBadInput, EntryCountsBeyondMemoryAreRefused) {
    PlayerProcess player(WriteTempFile("quavera-huge.pls", "[playlist]\r\nNumberOfEntries=2147483647\r\n"));
    const HWND box = player.WaitForBox("Tag list error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(player.Answer(box, IDOK), "Sorry, not enough memory for random playback");
    ExpectUsable(player);
}

TEST_F(PlayerQueueBadInput, BinaryFileNamedM3uGivesUnreadableEntries) {
    std::string junk;
    unsigned seed = 7;
    for (int i = 0; i < 3000; ++i) {
        seed = seed * 1103515245u + 12345u;
        junk += static_cast<char>(seed >> 16);
    }
    PlayerProcess player(WriteTempFile("quavera-binary.m3u", junk));
    const HWND box = player.WaitForBox("Playlist abort");
    ASSERT_NE(box, nullptr);
    player.Answer(box, IDYES);
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const auto lines = ListBoxLines(main, kTrackList);
    ASSERT_GT(lines.size(), 2u);
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], std::to_string(i + 1) + ". Error accessing file!");
    ExpectUsable(player);
}

TEST_F(PlayerQueueBadInput, LongLinesNulBytesAndAPlaylistNamingItself) {
    using namespace std::string_literals;
    const std::string path = WriteTempFile("quavera-self.m3u", "");
    WriteTempFile("quavera-self.m3u", Lines({StreamPath("tone1.mp2"), std::string(5000, 'x'), "\0junk"s + "\x01", path}));
    PlayerProcess player(path);
    const HWND engineBox = player.WaitForBox("Error!");
    ASSERT_NE(engineBox, nullptr);
    EXPECT_EQ(player.Answer(engineBox, IDOK), "This is not a valid audiofile!");
    const HWND main = player.WaitForCaption("Quavera - tone1 (stopped)");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ListBoxLines(main, kTrackList), (std::vector<std::string>{"1. tone1", "2. Error accessing file!",
                                                                     "3. Error accessing file!"}));
    ExpectUsable(player);
}

TEST_F(PlayerQueueBadInput, AScanCancelledPartWayLeavesTheRestUnplayable) {
    std::string text;
    constexpr int kEntries = 100000;
    for (int i = 0; i < kEntries; ++i) text += "tone120.mp2\r\n";
    const std::string list = WriteStreamFile("queue-huge.m3u", text);
    PlayerProcess player("");
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(player.DropFiles(main, {list}));
    const HWND progress = player.WaitForBox("Initialize playlist playback");
    ASSERT_NE(progress, nullptr);
    // Cancelled as soon as the scan shows that it has begun.
    constexpr int kPercentText = 1081;
    ASSERT_TRUE(WaitUntil([&] { return ItemText(progress, kPercentText) != " 0 %"; }, 20000));
    SaveScreenshot(progress, "queue-scan-progress");
    PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; })) << WindowText(main);
    ASSERT_EQ(ListBoxCount(main, kTrackList), kEntries);
    EXPECT_EQ(ListBoxLine(main, kTrackList, kEntries - 1), "100000. File scan aborted!");
    const int toGo = std::atoi(ItemText(main, kTracksToGo).c_str());
    EXPECT_GT(toGo, 0);
    EXPECT_LT(toGo, kEntries / 2) << "cancelled well before the end";
    EXPECT_EQ(ListBoxLine(main, kTrackList, toGo), std::to_string(toGo + 1) + ". tone120");
    EXPECT_EQ(ListBoxLine(main, kTrackList, toGo + 1), std::to_string(toGo + 2) + ". File scan aborted!");
    EXPECT_EQ(Counters(main), "1 |100000 |" + std::to_string(toGo) + " ");
    DeleteFileA(list.c_str());
    ExpectUsable(player);
}

} // namespace
} // namespace quavera::test
