// The track properties' texts and the ID3 tag read from a file, without a window.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "entry_text.h"
#include "id3v1_file.h"
#include "player_driver.h"
#include "track_texts.h"

namespace quavera {
namespace {

TEST(TrackDurations, FileAndPlaybackDurationsWithTheirUpDownRange) {
    const DurationView whole = DescribeDurations(245000, 0);
    EXPECT_TRUE(whole.known);
    EXPECT_EQ(whole.fileText, "4:05");
    EXPECT_EQ(whole.playbackText, "4:05") << "no limit: the whole file";
    const DurationView limited = DescribeDurations(245000, 90000);
    EXPECT_EQ(limited.fileText, "4:05");
    EXPECT_EQ(limited.playbackText, "1:30");
    EXPECT_EQ(limited.lowerSeconds, 5);
    EXPECT_EQ(limited.upperSeconds, 245);
    EXPECT_EQ(limited.positionSeconds, 90);
    // A limit beyond the file or below zero plays the whole file.
    EXPECT_EQ(DescribeDurations(245000, 999999999).playbackText, "4:05");
    EXPECT_EQ(DescribeDurations(245000, 999999999).positionSeconds, 245);
    EXPECT_EQ(DescribeDurations(245000, -5).playbackText, "4:05");
    // Minutes go on past the hour.
    EXPECT_EQ(DurationText(75 * 60000 + 9999), "75:09");
    EXPECT_EQ(DurationText(0), "0:00");
}

TEST(TrackDurations, UnknownLengthIsNotAvailable) {
    const DurationView unknown = DescribeDurations(-1, 90000);
    EXPECT_FALSE(unknown.known);
    EXPECT_EQ(unknown.fileText, "Not available!");
    EXPECT_EQ(unknown.playbackText, "Not available!");
    EXPECT_EQ(FileDurationMs(nullptr), -1);
    StreamStatus status{};
    status.totalTime = -1.0f;
    EXPECT_EQ(FileDurationMs(&status), -1);
    status.totalTime = 245999.9f;
    EXPECT_EQ(FileDurationMs(&status), 245999) << "truncated";
    status.totalTime = 1e20f;
    EXPECT_EQ(FileDurationMs(&status), -1) << "beyond what a duration can show";
}

TEST(TrackVolumePreset, ShowsThePresetPlaybackUses) {
    EXPECT_EQ(VolumePresetText("a.mp2;Alias;50;90000"), "50");
    EXPECT_EQ(VolumePresetText("a.mp2"), "100");
    EXPECT_EQ(VolumePresetText("a.mp2;;0"), "100");
    EXPECT_EQ(VolumePresetText("a.mp2;;-5"), "100");
    EXPECT_EQ(VolumePresetText("a.mp2;;99999"), "100");
    EXPECT_EQ(VolumePresetText("a.mp2;;12abc"), "12");
}

TEST(TrackStatistics, RowsOfAStreamAndOfNone) {
    StreamStatus status{};
    status.mpegVersion = 1;
    status.layer = 2;
    status.streamRate = 44100;
    status.streamChannels = 2;
    status.bitratePerChannel = 64;
    status.compressionRatio = 11.0625f;
    EXPECT_EQ(StatisticsTexts(&status), (std::array<std::string, 6>{"MPEG 1 Audio Layer II", "44.1kHz", "Stereo",
                                                                     "128kBit/sec", "1:11.06", "---"}));
    status.mpegVersion = 2;
    status.layer = 3;
    status.streamRate = 22050;
    status.streamChannels = 1;
    status.bitratePerChannel = 32;
    status.compressionRatio = 5.5f;
    std::strcpy(status.description, "A song");
    EXPECT_EQ(StatisticsTexts(&status), (std::array<std::string, 6>{"MPEG 2 Audio Layer III", "22.1kHz", "Mono",
                                                                     "32kBit/sec", "1: 5.50", "A song"}));
    for (const std::string& row : StatisticsTexts(nullptr)) EXPECT_EQ(row, "Not available!");
}

TEST(TrackEntryText, LongTextsAndManySeparators) {
    const std::string name(4000, 'n');
    EXPECT_EQ(EntryFileName(name + ";a;50;90000"), name);
    EXPECT_EQ(EntryNumber(name + ";a;50;90000", kEntryDuration), 90000);
    const std::string separators = "x.mp2" + std::string(20, ';');
    EXPECT_EQ(EntryFileName(separators), "x.mp2");
    EXPECT_EQ(EntryNumber(separators, kEntryVolume), 0);
    EXPECT_EQ(EntryNumber(separators, kEntryDuration), 0);
    EXPECT_EQ(EntryField("a;b", 5), "");
    EXPECT_EQ(EntryNumber("a;;;99999999999", kEntryDuration), 2147483647);
    EXPECT_EQ(EntryNumber("a;;;-99999999999", kEntryDuration), -2147483647 - 1);
}

class TagFile : public ::testing::Test {
protected:
    void SetUp() override { path_ = test::TempFolder() + "quavera-tag-test.mp2"; }
    void TearDown() override { DeleteFileA(path_.c_str()); }

    void Write(const std::string& bytes) const {
        FILE* file = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    static std::string Tag(const std::string& title) {
        std::string tag = "TAG" + title;
        tag.resize(kId3v1Size, '\0');
        return tag;
    }

    std::string path_;
};

TEST_F(TagFile, TagAtTheEndOfTheFile) {
    Write(std::string(5000, '\x55') + Tag("Title"));
    const auto tag = ReadId3v1Tag(path_);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->title, "Title");
    Write(Tag("Only a tag"));
    ASSERT_TRUE(ReadId3v1Tag(path_));
}

TEST_F(TagFile, NoTagInShortUnmarkedMissingOrLockedFiles) {
    Write(Tag("x").substr(0, kId3v1Size - 1));
    EXPECT_FALSE(ReadId3v1Tag(path_)) << "127 bytes";
    Write("");
    EXPECT_FALSE(ReadId3v1Tag(path_));
    Write(Tag("x") + "1");
    EXPECT_FALSE(ReadId3v1Tag(path_)) << "the last 128 bytes do not begin with the marker";
    EXPECT_FALSE(ReadId3v1Tag(path_ + ".missing"));
    EXPECT_FALSE(ReadId3v1Tag(""));
    // A file another program writes is not read.
    Write(Tag("x"));
    const HANDLE writer =
        CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReadId3v1Tag(path_));
    CloseHandle(writer);
    EXPECT_TRUE(ReadId3v1Tag(path_));
}

} // namespace
} // namespace quavera
