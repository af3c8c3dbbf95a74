// Entry texts: the four fields, their replacement, and the names the lists show.
#include <gtest/gtest.h>

#include <climits>

#include "entry_text.h"

namespace quavera {
namespace {

TEST(EntryText, FieldsAreCutAtSemicolonsAndMissingOnesAreEmpty) {
    const std::string text = "C:\\music\\a.mp2;Alias;80;90000";
    EXPECT_EQ(EntryField(text, 0), "C:\\music\\a.mp2");
    EXPECT_EQ(EntryField(text, 1), "Alias");
    EXPECT_EQ(EntryField(text, 2), "80");
    EXPECT_EQ(EntryField(text, 3), "90000");
    EXPECT_EQ(EntryField(text, 4), "");
    EXPECT_EQ(EntryField("a.mp2", 1), "");
    EXPECT_EQ(EntryField("a.mp2;;;", 3), "");
    EXPECT_EQ(EntryField(";x", 0), "");
    EXPECT_EQ(EntryField("", 0), "");
}

TEST(EntryText, NumbersComeFromLeadingDigitsAndStayWithinInt) {
    EXPECT_EQ(EntryNumber("a;b;80;90000", 2), 80);
    EXPECT_EQ(EntryNumber("a;b;80;90000", 3), 90000);
    EXPECT_EQ(EntryNumber("a;b;80x", 2), 80);
    EXPECT_EQ(EntryNumber("a;b;loud", 2), 0);
    EXPECT_EQ(EntryNumber("a", 3), 0);
    EXPECT_EQ(EntryNumber("a;;;-5", 3), -5);
    EXPECT_EQ(EntryNumber("a;;;99999999999999999999", 3), INT_MAX);
    EXPECT_EQ(EntryNumber("a;;;-99999999999", 3), INT_MIN);
}

TEST(EntryText, SettingAFieldAddsTheMissingOnesAndKeepsTheRest) {
    EXPECT_EQ(SetEntryField("F", 1, "A"), "F;A");
    EXPECT_EQ(SetEntryField("F;A", 3, 5000), "F;A;;5000");
    EXPECT_EQ(SetEntryField("F;A;80;100", 1, "B"), "F;B;80;100");
    EXPECT_EQ(SetEntryField("F;A;80;100", 0, "G"), "G;A;80;100");
    EXPECT_EQ(SetEntryField("F;A;80;100", 3, 7), "F;A;80;7");
    EXPECT_EQ(SetEntryField("F;;", 1, "A"), "F;A;");
    EXPECT_EQ(SetEntryField("", 2, 90), ";;90");
    for (int n = 0; n < 4; ++n) {
        const std::string text = SetEntryField("x.mp2;a;50", n, "v");
        EXPECT_EQ(EntryField(text, n), "v") << n;
    }
}

TEST(EntryText, BareTitleDropsFolderAndExtension) {
    EXPECT_EQ(BareTitle("C:\\music\\rock\\song.one.mp3;Alias"), "song.one");
    EXPECT_EQ(BareTitle("song"), "song");
    EXPECT_EQ(BareTitle("C:\\music\\"), "");
    EXPECT_EQ(BareTitle(".mp3"), "");
    EXPECT_EQ(BareTitle("http://host/a/b.mp3"), "http://host/a/b") << "only \\ separates folders";
}

TEST(EntryText, DisplayNameWithAndWithoutPathAndExtension) {
    const std::string file = "C:\\music\\song.mp3;Alias";
    EXPECT_EQ(DisplayName(file, true, true), "C:\\music\\song.mp3");
    EXPECT_EQ(DisplayName(file, true, false), "C:\\music\\song");
    EXPECT_EQ(DisplayName(file, false, true), "song.mp3");
    EXPECT_EQ(DisplayName(file, false, false), "song");
    const std::string address = "http://radio.example:8000/live.mp3";
    EXPECT_EQ(DisplayName(address, false, false), "live");
    EXPECT_EQ(DisplayName("http://radio.example:8000/", false, false), "");
    // A dot in a folder is no extension; a leading dot without the path is none either.
    EXPECT_EQ(DisplayName("C:\\a.b\\song", true, false), "C:\\a.b\\song");
    EXPECT_EQ(DisplayName("C:\\a.b\\song", false, false), "song");
    EXPECT_EQ(DisplayName("C:\\music\\.hidden", false, false), ".hidden");
    EXPECT_EQ(DisplayName("a.mp3", true, false), "a");
}

TEST(EntryText, VolumePresetIsAPercentageWithAHundredForNone) {
    EXPECT_EQ(EntryVolumePreset("c:\\a.mp2;Alias;80;12000"), 80u);
    EXPECT_EQ(EntryVolumePreset("c:\\a.mp2;Alias;0"), 100u);
    EXPECT_EQ(EntryVolumePreset("c:\\a.mp2"), 100u);
    EXPECT_EQ(EntryVolumePreset("c:\\a.mp2;;-5"), 100u);
    EXPECT_EQ(EntryVolumePreset("c:\\a.mp2;;250"), 100u);
    EXPECT_EQ(EntryFileName("c:\\a b.mp2;Alias"), "c:\\a b.mp2");
}

} // namespace
} // namespace quavera
