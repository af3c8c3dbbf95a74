// The playlist editor's rules: which files a drop takes, what a scan fills
// in, what an entry is listed as, and how the window lays itself out.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor_layout.h"
#include "editor_rules.h"

namespace quavera {
namespace {

TEST(EditorFileFilter, TakesANameWhoseFirstAudioExtensionEndsIt) {
    FileFilter filter;
    for (const char* taken : {"C:\\music\\a.mp3", "A.MP2", "x.l2", "y.L3", "C:\\a.mp3.d\\b.mp2", ".mp3"})
        EXPECT_TRUE(filter.Accepts(taken)) << taken;
    for (const char* refused : {"song.mp3.txt", "a.mp3.mp3", "notes.txt", "C:\\a.mp3\\notes", "a.mp", "", "mp3"})
        EXPECT_FALSE(filter.Accepts(refused)) << refused;
    filter.AcceptAll();
    EXPECT_EQ(filter.count(), 0u);
    EXPECT_TRUE(filter.Accepts("song.mp3.txt"));
    EXPECT_TRUE(filter.Accepts(""));
    filter.AcceptAudio();
    EXPECT_EQ(filter.count(), 4u);
    EXPECT_FALSE(filter.Accepts("notes.txt"));
    EXPECT_EQ(AudioFileTypeItem(), "MPEG audio file (*.mp2;*.mp3;*.l2;*.l3)");
}

TEST(EditorAlias, IsTheTitleAsItStandsButCannotBreakTheEntryOrItsLine) {
    EXPECT_EQ(AliasOfTitle("Song title    "), "Song title    ") << "trailing blanks stay";
    EXPECT_EQ(AliasOfTitle("Rock; Roll"), "Rock, Roll");
    EXPECT_EQ(AliasOfTitle("two\r\nlines\t"), "two  lines ");
    EXPECT_EQ(AliasOfTitle(std::string(30, ' ')), "") << "a padded empty title";
    EXPECT_EQ(AliasOfTitle(""), "");
    EXPECT_EQ(AliasOfTitle("\xC4pfel"), "\xC4pfel") << "no character conversion";
}

// Sources that answer from tables and count what they are asked.
struct FakeSources {
    std::map<std::string, std::string> titles;
    std::map<std::string, int> lengths;
    int titleQuestions = 0;
    int lengthQuestions = 0;

    ScanSources Make(bool skipHttp) {
        ScanSources sources;
        sources.title = [this](const std::string& file) -> std::optional<std::string> {
            ++titleQuestions;
            const auto found = titles.find(file);
            if (found == titles.end()) return std::nullopt;
            return found->second;
        };
        sources.lengthMs = [this](const std::string& name) -> std::optional<int> {
            ++lengthQuestions;
            const auto found = lengths.find(name);
            if (found == lengths.end()) return std::nullopt;
            return found->second;
        };
        sources.skipHttpScan = skipHttp;
        return sources;
    }
};

TEST(EditorScan, FillsAnEmptyAliasFromTheTagAndAMissingDurationFromTheStream) {
    FakeSources fake;
    fake.titles = {{"a.mp3", "Title"}, {"padded.mp3", "     "}};
    fake.lengths = {{"a.mp3", 245000}, {"padded.mp3", 1000}, {"plain.mp2", 1044}};
    const ScanSources sources = fake.Make(false);

    std::string entry = "a.mp3";
    EXPECT_TRUE(ScanEntryFields(entry, sources));
    EXPECT_EQ(entry, "a.mp3;Title;;245000");
    entry = "a.mp3;;50";
    EXPECT_TRUE(ScanEntryFields(entry, sources));
    EXPECT_EQ(entry, "a.mp3;Title;50;245000") << "the volume preset stays";
    entry = "padded.mp3";
    EXPECT_TRUE(ScanEntryFields(entry, sources));
    EXPECT_EQ(entry, "padded.mp3;;;1000");
    entry = "plain.mp2";
    EXPECT_TRUE(ScanEntryFields(entry, sources));
    EXPECT_EQ(entry, "plain.mp2;;;1044") << "no tag, no alias";

    fake.titleQuestions = fake.lengthQuestions = 0;
    entry = "a.mp3;Mine;;90000";
    EXPECT_TRUE(ScanEntryFields(entry, sources));
    EXPECT_EQ(entry, "a.mp3;Mine;;90000");
    EXPECT_EQ(fake.titleQuestions, 0) << "an alias is not replaced";
    EXPECT_EQ(fake.lengthQuestions, 0) << "a stated duration is not asked for";
}

TEST(EditorScan, FailsWhenTheDurationCannotBeHad) {
    FakeSources fake;
    fake.titles = {{"gone.mp3", "Kept"}};
    fake.lengths = {{"http://host/live.mp3", -1}, {"unknown.mp2", -1}};
    std::string entry = "gone.mp3";
    EXPECT_FALSE(ScanEntryFields(entry, fake.Make(false)));
    EXPECT_EQ(entry, "gone.mp3;Kept") << "what was found stays";

    entry = "http://host/a.mp3";
    EXPECT_FALSE(ScanEntryFields(entry, fake.Make(true)));
    EXPECT_EQ(entry, "http://host/a.mp3");
    EXPECT_EQ(fake.lengthQuestions, 1) << "only the local file was asked for";
    EXPECT_EQ(fake.titleQuestions, 1) << "addresses have no tag to read";

    entry = "HTTP://host/a.mp3;;;3000";
    EXPECT_TRUE(ScanEntryFields(entry, fake.Make(true))) << "its duration is stated";
    entry = "http://host/live.mp3";
    EXPECT_TRUE(ScanEntryFields(entry, fake.Make(false)));
    EXPECT_EQ(entry, "http://host/live.mp3") << "a stream of unknown length keeps its duration open";
    entry = "unknown.mp2";
    EXPECT_TRUE(ScanEntryFields(entry, fake.Make(false)));
    EXPECT_EQ(entry, "unknown.mp2");
}

TEST(EditorScan, EntriesAreListedUnderTheirAliasOrTheirName) {
    EXPECT_EQ(EntryTitle("C:\\music\\a.mp3;Song", false, false), "Song");
    EXPECT_EQ(EntryTitle("C:\\music\\a.mp3;;;1000", false, false), "a");
    EXPECT_EQ(EntryTitle("C:\\music\\a.mp3", false, true), "a.mp3");
    EXPECT_EQ(EntryTitle("C:\\music\\a.mp3", true, false), "C:\\music\\a");
    EXPECT_EQ(EntryTitle("C:\\music\\a.mp3", true, true), "C:\\music\\a.mp3");
    EXPECT_EQ(EntryTitle("http://host/x/live.mp3", false, false), "live");
}

TEST(EditorLayout, ControlsKeepTheirDistancesToTheEdgesTheyAreAnchoredTo) {
    const Box box{10, 20, 110, 40};
    EXPECT_EQ(AnchoredBox(box, 0, 50, 30), box);
    EXPECT_EQ(AnchoredBox(box, kMoveRight | kMoveDown, 50, 30), (Box{60, 50, 160, 70}));
    EXPECT_EQ(AnchoredBox(box, kMoveDown, 50, 30), (Box{10, 50, 110, 70}));
    EXPECT_EQ(AnchoredBox(box, kMoveDown | kStretchWide, 50, 30), (Box{10, 50, 160, 70}));
    EXPECT_EQ(AnchoredBox(box, kStretchWide | kStretchHigh, 50, 30), (Box{10, 20, 160, 70}));
    EXPECT_EQ(AnchoredBox(box, kStretchWide | kStretchHigh, 0, 0), box);
}

TEST(EditorLayout, TheSizingRectangleIsHeldAtTheLeastSizeOnTheDraggedSide) {
    // 300 x 200 at least; each edge dragged inwards too far.
    EXPECT_EQ(HoldMinimumSize({100, 100, 350, 300}, false, false, 300, 200), (Box{100, 100, 400, 300}));
    EXPECT_EQ(HoldMinimumSize({150, 100, 400, 300}, true, false, 300, 200), (Box{100, 100, 400, 300}));
    EXPECT_EQ(HoldMinimumSize({100, 150, 400, 300}, false, true, 300, 200), (Box{100, 100, 400, 300}));
    EXPECT_EQ(HoldMinimumSize({100, 100, 400, 250}, false, false, 300, 200), (Box{100, 100, 400, 300}));
    EXPECT_EQ(HoldMinimumSize({180, 180, 400, 300}, true, true, 300, 200), (Box{100, 100, 400, 300}));
    EXPECT_EQ(HoldMinimumSize({0, 0, 800, 600}, true, true, 300, 200), (Box{0, 0, 800, 600})) << "larger stays";
}

} // namespace
} // namespace quavera
