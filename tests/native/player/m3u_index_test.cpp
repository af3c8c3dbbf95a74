// ".m3u" playlists: which lines are entries, what "#EXTINF" adds, and the
// line index that follows changes of the file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "entry_source.h"
#include "m3u_index.h"

namespace quavera {
namespace {

class M3uTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("quavera-m3u-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "list.m3u").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void Write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
    M3uIndex Indexed(const std::string& content) {
        Write(content);
        M3uIndex index;
        EXPECT_TRUE(index.Open(path_));
        return index;
    }

    std::filesystem::path dir_;
    std::string path_;
};

TEST_F(M3uTest, CommentAndBlankLinesAreNoEntries) {
    M3uIndex index = Indexed("#EXTM3U\n\na.mp3\n   \n# a comment\nb.mp3\n \t\r\nc.mp3");
    ASSERT_EQ(index.count(), 3);
    EXPECT_EQ(index.Entry(1).text, "a.mp3");
    EXPECT_EQ(index.Entry(2).text, "b.mp3");
    EXPECT_EQ(index.Entry(3).text, "c.mp3") << "a last line without a line end";
    EXPECT_EQ(index.Entry(0).text, "");
    EXPECT_EQ(index.Entry(4).text, "");
    EXPECT_EQ(index.Entry(-7).text, "");
}

TEST_F(M3uTest, ExtinfGivesTheNextEntryItsTitleAndLength) {
    M3uIndex index = Indexed(
        "#EXTM3U\r\n"
        "#EXTINF:215,Artist - Title\r\n"
        "a.mp3\r\n"
        "#EXTINF:-1,Radio\r\n"
        "#EXTVLCOPT:network-caching=1000\r\n"
        "http://host/live\r\n"
        "#EXTINF:12.5, Spaced title ; with semicolon \r\n"
        "b.mp3;Own alias;80\r\n"
        "#EXTINF:30 tvg-name=\"x,y\",Quoted\r\n"
        "c.mp3\r\n"
        "#EXTINF:oops\r\n"
        "d.mp3\r\n"
        "e.mp3\r\n");
    ASSERT_EQ(index.count(), 6);
    EXPECT_EQ(index.Entry(1).text, "a.mp3;Artist - Title");
    EXPECT_EQ(index.Entry(1).durationMs, 215000);
    EXPECT_EQ(index.Entry(2).text, "http://host/live;Radio");
    EXPECT_EQ(index.Entry(2).durationMs, 0) << "-1 states no length";
    EXPECT_EQ(index.Entry(3).text, "b.mp3;Own alias;80") << "the entry's own alias wins";
    EXPECT_EQ(index.Entry(3).durationMs, 12500);
    EXPECT_EQ(index.Entry(4).text, "c.mp3;Quoted");
    EXPECT_EQ(index.Entry(4).durationMs, 30000);
    EXPECT_EQ(index.Entry(5).text, "d.mp3");
    EXPECT_EQ(index.Entry(5).durationMs, 0);
    EXPECT_EQ(index.Entry(6).text, "e.mp3") << "an \"#EXTINF\" line belongs to the one entry after it";
    EXPECT_EQ(M3uEntry("f.mp3", "#EXTINF:5,A;B").text, "f.mp3;A,B");
    EXPECT_EQ(M3uEntry("f.mp3", "#EXTINF:1e300,T").durationMs, INT_MAX);
    EXPECT_EQ(M3uEntry("f.mp3", "#EXTINF:nan,T").durationMs, 0);
}

TEST_F(M3uTest, NulBytesEndTheTextAndByteOrderMarksAreSkipped) {
    using namespace std::string_literals;
    M3uIndex index = Indexed("\xEF\xBB\xBF#EXTM3U\na.mp3\0junk\n\0b.mp3\nc\0\n"s);
    ASSERT_EQ(index.count(), 2);
    EXPECT_EQ(index.Entry(1).text, "a.mp3");
    EXPECT_EQ(index.Entry(2).text, "c");
}

TEST_F(M3uTest, VeryLongLinesAreOneEntryEach) {
    const std::string longName(5000, 'x');
    M3uIndex index = Indexed(longName + "\n" + longName + ";alias\nshort.mp3\n");
    ASSERT_EQ(index.count(), 3);
    EXPECT_EQ(index.Entry(1).text.size(), 4096u) << "cut where no name could still be";
    EXPECT_EQ(index.Entry(3).text, "short.mp3");
}

TEST_F(M3uTest, TheIndexFollowsChangesOfTheFile) {
    M3uIndex index = Indexed("a.mp3\nb.mp3\n");
    ASSERT_EQ(index.count(), 2);
    Write("#EXTM3U\nfirst.mp3\nsecond.mp3\nthird.mp3\n");
    EXPECT_EQ(index.Entry(2).text, "second.mp3");
    EXPECT_EQ(index.count(), 3);
    std::filesystem::remove(path_);
    EXPECT_EQ(index.Entry(1).text, "");
    EXPECT_EQ(index.count(), 0);
}

TEST_F(M3uTest, UnreadableAndEmptyFilesHaveNoEntries) {
    M3uIndex missing;
    EXPECT_FALSE(missing.Open((dir_ / "missing.m3u").string()));
    EXPECT_EQ(missing.count(), 0);
    EXPECT_EQ(missing.Entry(1).text, "");
    EXPECT_EQ(Indexed("").count(), 0);
    EXPECT_EQ(Indexed("#EXTM3U\n\n\n").count(), 0);
    M3uIndex folder;
    folder.Open(dir_.string());
    EXPECT_EQ(folder.count(), 0);
}

TEST_F(M3uTest, BinaryDataGivesEntriesThatAreTextUpToTheirNul) {
    std::string data;
    for (int i = 0; i < 20000; ++i) data += static_cast<char>((i * 7919 + i / 13) & 0xFF);
    M3uIndex index = Indexed(data);
    ASSERT_GT(index.count(), 0);
    for (int n = 1; n <= index.count(); ++n) {
        const std::string text = index.Entry(n).text;
        EXPECT_EQ(text.find('\0'), std::string::npos);
        EXPECT_EQ(text.find('\n'), std::string::npos);
        EXPECT_LE(text.size(), 4096u);
    }
}

TEST_F(M3uTest, PlaylistTakesRelativeNamesFromItsFolder) {
    Write("a.mp3\nD:\\b.mp3\n\\c.mp3\nhttp://host/d.mp3\n");
    // The playlist's own name uses "\" as Windows passes it.
    const std::string windowsName = "Q:\\lists\\list.m3u";
    std::filesystem::copy_file(path_, dir_ / windowsName);
    M3uPlaylist list((dir_ / windowsName).string());
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.Entry(1).text, (dir_ / "Q:\\lists\\").string() + "a.mp3");
    EXPECT_EQ(list.Entry(2).text, "D:\\b.mp3");
    EXPECT_EQ(list.Entry(3).text, "\\c.mp3");
    EXPECT_EQ(list.Entry(4).text, "http://host/d.mp3");

    NameList drop({"C:\\a.mp3", "C:\\b c.mp3"});
    EXPECT_EQ(drop.count(), 2);
    EXPECT_EQ(drop.Entry(2).text, "C:\\b c.mp3");
    EXPECT_EQ(drop.Entry(3).text, "");
}

} // namespace
} // namespace quavera
