// The scan of an entry, continuous runs and their list names, and the texts
// of the track section.
#include <gtest/gtest.h>

#include <vector>

#include "continuous_run.h"
#include "entry_scan.h"
#include "entry_source.h"
#include "playback_queue.h"
#include "queue_text.h"

namespace quavera {
namespace {

// Answers like the engine for a few known files and counts the questions.
struct FakeStreams {
    std::vector<std::string> asked;
    StreamQuery query() {
        return [this](const std::string& name) -> std::optional<StreamFacts> {
            asked.push_back(name);
            if (name == "C:\\a.mp2") return StreamFacts{61500, "a"};
            if (name == "C:\\.mp2") return StreamFacts{2000, "dot"};
            if (name == "http://host/live") return StreamFacts{-1, ""};
            return std::nullopt;
        };
    }
};

TEST(EntryScan, LocalFilesAreAskedForTheirLengthUnlessTheEntryStatesIt) {
    FakeStreams streams;
    ScannedEntry a = ScanEntry({"C:\\a.mp2", 0}, true, streams.query());
    EXPECT_EQ(a.lengthMs, 61500);
    EXPECT_EQ(a.line, "a") << "the bare title";
    EXPECT_EQ(a.volumePreset, 100u);

    ScannedEntry aliased = ScanEntry({"C:\\a.mp2;Alias;80", 0}, true, streams.query());
    EXPECT_EQ(aliased.line, "Alias");
    EXPECT_EQ(aliased.volumePreset, 80u);
    EXPECT_EQ(streams.asked.size(), 2u);

    ScannedEntry limited = ScanEntry({"C:\\missing.mp2;;;90000", 0}, true, streams.query());
    EXPECT_EQ(limited.lengthMs, 90000) << "a limit saves the question";
    EXPECT_EQ(limited.line, "missing");
    ScannedEntry stated = ScanEntry({"C:\\missing.mp2;Title", 215000}, true, streams.query());
    EXPECT_EQ(stated.lengthMs, 215000) << "a length from the playlist saves it too";
    EXPECT_EQ(stated.line, "Title");
    ScannedEntry both = ScanEntry({"C:\\a.mp2;;;5000", 215000}, true, streams.query());
    EXPECT_EQ(both.lengthMs, 5000) << "the entry's own limit comes first";
    EXPECT_EQ(streams.asked.size(), 2u);
}

TEST(EntryScan, UnreadableEntriesAreListedAsErrors) {
    FakeStreams streams;
    for (const char* text : {"C:\\missing.mp2", "", ";Alias", "C:\\missing.mp2;;x;-20"}) {
        const ScannedEntry entry = ScanEntry({text, 0}, true, streams.query());
        EXPECT_EQ(entry.lengthMs, 0) << text;
        EXPECT_EQ(entry.line, "Error accessing file!") << text;
    }
}

TEST(EntryScan, AFileWithoutTitleIsNamedByItsStreamInformation) {
    FakeStreams streams;
    const ScannedEntry entry = ScanEntry({"C:\\.mp2", 0}, true, streams.query());
    EXPECT_EQ(entry.line, "dot");
    EXPECT_EQ(entry.lengthMs, 2000);
    EXPECT_EQ(streams.asked.size(), 1u) << "asked once for both";
}

TEST(EntryScan, HttpAddressesAreAskedOnlyWhenTheScanIsNotSkipped) {
    FakeStreams streams;
    const ScannedEntry skipped = ScanEntry({"http://host/live", 0}, true, streams.query());
    EXPECT_EQ(skipped.lengthMs, -1);
    EXPECT_EQ(skipped.line, "live");
    EXPECT_TRUE(streams.asked.empty());
    EXPECT_EQ(ScanEntry({"http://host/live;Radio;;60000", 0}, true, streams.query()).lengthMs, 60000);
    EXPECT_EQ(ScanEntry({"http://host/live;Radio", 30000}, true, streams.query()).line, "Radio");
    const ScannedEntry scanned = ScanEntry({"http://host/live", 0}, false, streams.query());
    EXPECT_EQ(scanned.lengthMs, -1);
    EXPECT_EQ(scanned.line, "live") << "titled by the address's last part";
    EXPECT_EQ(streams.asked.size(), 1u);
    EXPECT_EQ(ScanEntry({"http://host/gone.mp3", 0}, false, streams.query()).line, "Error accessing file!");
}

// Records the lines and cancels when it is asked about entry cancelAt.
struct Lines final : ScanObserver {
    int cancelAt = 0;
    std::vector<std::string> announced;
    std::vector<std::string> lines;
    bool Scanning(int k, const std::string& text) override {
        announced.push_back(text);
        return k != cancelAt;
    }
    void Scanned(int k, const std::string& line) override {
        EXPECT_EQ(k, static_cast<int>(lines.size()) + 1);
        lines.push_back(line);
    }
};

TEST(EntryScan, AQueueScanListsEveryEntryAndACancelLeavesTheRestUnplayable) {
    FakeStreams streams;
    NameList source({"C:\\a.mp2", "C:\\missing.mp2", "C:\\a.mp2;Second", "C:\\a.mp2", "C:\\a.mp2"});
    PlaybackQueue queue(1);
    ASSERT_EQ(queue.Init(source.count()), PlaybackQueue::Setup::Ready);
    Lines lines;
    lines.cancelAt = 4;
    EXPECT_EQ(ScanQueue(source, queue, true, streams.query(), lines), 3);
    EXPECT_EQ(lines.announced, (std::vector<std::string>{"C:\\a.mp2", "C:\\missing.mp2", "C:\\a.mp2;Second",
                                                         "C:\\a.mp2"}));
    EXPECT_EQ(lines.lines, (std::vector<std::string>{"a", "Error accessing file!", "Second", "File scan aborted!",
                                                     "File scan aborted!"}));
    EXPECT_EQ(queue.TotalMs(), 2 * 61500);
    EXPECT_EQ(queue.Waiting(), 2);
    EXPECT_FALSE(queue.readable(4));
    EXPECT_FALSE(queue.readable(5));
}

TEST(ContinuousRun, UpToThreeTracksThatJoin) {
    const auto all = [](int) { return true; };
    EXPECT_EQ(RunFrom(1, 10, all), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(RunFrom(9, 10, all), (std::vector<int>{9, 10}));
    EXPECT_EQ(RunFrom(10, 10, all), (std::vector<int>{10}));
    EXPECT_EQ(RunFrom(1, 10, [](int k) { return k != 2; }), (std::vector<int>{1}));
    EXPECT_EQ(RunFrom(4, 10, [](int k) { return k != 6; }), (std::vector<int>{4, 5}));
}

TEST(ContinuousRun, ListNamesCarryTheWholeAddress) {
    int list = 0;
    const std::string name = ListName(&list);
    EXPECT_EQ(name.rfind("list:", 0), 0u);
    EXPECT_EQ(ListAddress(name), reinterpret_cast<std::uintptr_t>(&list));
    // An address above 4 GiB survives, as on 64-bit Windows.
    if constexpr (sizeof(void*) == 8) {
        const auto high = reinterpret_cast<const void*>(std::uintptr_t{0x00007FF612345678});
        EXPECT_EQ(ListName(high), "list:140694844102264");
        EXPECT_EQ(ListAddress("list:140694844102264"), std::uintptr_t{0x00007FF612345678});
    }
    for (const char* bad : {"list:", "list:12x", "list: ", "lost:12", "C:\\list:12", "list:99999999999999999999999"})
        EXPECT_FALSE(ListAddress(bad).has_value()) << bad;
}

TEST(QueueText, CountersLinesAndTotalTimes) {
    EXPECT_EQ(CounterText(12), "12 ");
    EXPECT_EQ(TrackListLine(3, "Song"), "3. Song");
    EXPECT_EQ(FormatTotalTime(0), "0:00min ");
    EXPECT_EQ(FormatTotalTime(3599999), "59:59min ");
    EXPECT_EQ(FormatTotalTime(3600000), "1:00:00h ");
    EXPECT_EQ(FormatTotalTime(100LL * 3600000 + 61000), "100:01:01h ");
    EXPECT_EQ(FormatTotalTime(100000LL * 240000), "6666:40:00h ") << "beyond 32-bit milliseconds";
}

TEST(QueueText, TotalPositionTakesItsFormFromTheTotalTime) {
    // 59:59 in all: minutes; 60:00: hours, even while little has played.
    EXPECT_EQ(FormatTotalPosition(false, 3599000, 5000), " 0:05min ");
    EXPECT_EQ(FormatTotalPosition(true, 3599000, 5000), "-59:54min ");
    EXPECT_EQ(FormatTotalPosition(false, 3600000, 5000), " 0:00:05h ");
    EXPECT_EQ(FormatTotalPosition(true, 3600000, 5000), "-0:59:55h ");
    EXPECT_EQ(FormatTotalPosition(true, 60000, 61000), "-0:00min ") << "never below zero";
}

} // namespace
} // namespace quavera
