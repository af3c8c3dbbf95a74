// ".pls" files through the profile functions, the choice of the playlist
// reader by name, and the copy of a downloaded playlist.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "player_driver.h"
#include "playlist_file.h"
#include "pls_file.h"

namespace quavera {
namespace {

using test::FileContent;
using test::TempFolder;
using test::WriteTempFile;


TEST(PlsFile, EntriesCountAndMissingKeys) {
    const std::string path = WriteTempFile("quavera-three.pls",
                                   "[other]\r\nFile1=wrong.mp3\r\n[playlist]\r\nNumberOfEntries=3\r\n"
                                   "File1=a.mp3\r\nFile3=\\b.mp3;Alias;50\r\n");
    PlsPlaylist list(path);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.Entry(1).text, TempFolder() + "a.mp3");
    EXPECT_EQ(list.Entry(2).text, "") << "a missing key is an empty name";
    EXPECT_EQ(list.Entry(3).text, "\\b.mp3;Alias;50");
    EXPECT_EQ(list.Entry(4).text, "");
    EXPECT_EQ(list.Entry(0).text, "");
}

TEST(PlsFile, CountsThatAreMissingOrNegativeGiveNoEntries) {
    for (const char* content : {"[playlist]\r\nFile1=a.mp3\r\n", "[playlist]\r\nNumberOfEntries=-1\r\nFile1=a.mp3\r\n",
                                "[playlist]\r\nNumberOfEntries=x\r\n", "", "\x01\x02\xFF\xFE binary"}) {
        const std::string path = WriteTempFile("quavera-empty.pls", content);
        EXPECT_EQ(PlsPlaylist(path).count(), 0) << content;
    }
    EXPECT_EQ(PlsPlaylist(TempFolder() + "quavera-missing.pls").count(), 0);
    // 2^31 does not fit: it reads as no entries or as far too many, never as a small count.
    const int huge = PlsPlaylist(WriteTempFile("quavera-huge.pls", "[playlist]\r\nNumberOfEntries=2147483648\r\n")).count();
    EXPECT_TRUE(huge == 0 || huge == 2147483647) << huge;
}

TEST(PlsFile, WrittenNamesAreRelativeAndTheKeysInTheOrderAsked) {
    const std::string folder = TempFolder();
    const std::string path = folder + "quavera-saved.pls";
    DeleteFileA(path.c_str());
    const std::vector<std::string> entries = {folder + "a.mp3", folder + "rock\\b.mp3;Alias", "Q:\\c.mp3"};
    ASSERT_TRUE(WritePlaylist(path, entries, PlsKeyOrder::CountFirst));
    EXPECT_EQ(FileContent(path), "[playlist]\r\nNumberOfEntries=3\r\nFile1=a.mp3\r\nFile2=rock\\b.mp3;Alias\r\n"
                          "File3=Q:\\c.mp3\r\n");
    PlsPlaylist list(path);
    ASSERT_EQ(list.count(), 3);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(list.Entry(n).text, entries[static_cast<std::size_t>(n - 1)]);

    const std::string temporary = folder + "quavera-list.pls";
    DeleteFileA(temporary.c_str());
    ASSERT_TRUE(WritePlaylist(temporary, {folder + "x.mp2", folder + "y.mp2"}, PlsKeyOrder::EntriesFirst));
    EXPECT_EQ(FileContent(temporary), "[playlist]\r\nFile1=x.mp2\r\nFile2=y.mp2\r\nNumberOfEntries=2\r\n");
}

TEST(PlaylistFile, TheNameDecidesTheFormat) {
    const std::string m3u = WriteTempFile("quavera-list.M3U", "#EXTM3U\r\none.mp2\r\n");
    const auto fromM3u = OpenPlaylistFile(m3u);
    ASSERT_NE(fromM3u, nullptr);
    EXPECT_EQ(fromM3u->count(), 1);
    EXPECT_EQ(fromM3u->Entry(1).text, TempFolder() + "one.mp2");
    const std::string disguised = WriteTempFile("quavera-song.pls.mp3", "[playlist]\r\nNumberOfEntries=2\r\n");
    const auto fromPls = OpenPlaylistFile(disguised);
    ASSERT_NE(fromPls, nullptr);
    EXPECT_EQ(fromPls->count(), 2);
    EXPECT_EQ(OpenPlaylistFile(TempFolder() + "song.mp3"), nullptr);
    EXPECT_EQ(FullPathName("C:\\a\\..\\b.pls"), "C:\\b.pls");
}

// Serves one text and records how it is read.
class TextReader final : public InputSource {
public:
    explicit TextReader(std::string text, bool opens = true) : text_(std::move(text)), opens_(opens) {}
    int open(const char*) override { return opens_ ? 1 : 0; }
    int close() override { return 1; }
    std::uint32_t read(void* buffer, std::uint32_t count) override {
        largest = std::max(largest, count);
        const std::size_t n = std::min<std::size_t>(count, text_.size() - at_);
        text_.copy(static_cast<char*>(buffer), n, at_);
        at_ += n;
        return static_cast<std::uint32_t>(n);
    }
    int seek(std::int32_t) override { return 0; }
    std::int32_t tell() override { return 0; }
    std::int32_t length() override { return static_cast<std::int32_t>(text_.size()); }
    const char* name() override { return ""; }
    int fileChanged() override { return 0; }
    std::uint32_t largest = 0;

private:
    std::string text_;
    bool opens_;
    std::size_t at_ = 0;
};

TEST(PlaylistFile, DownloadedPlaylistsAreCopiedToTheTemporaryFolder) {
    std::string text = "[playlist]\r\nNumberOfEntries=1\r\nFile1=http://host/a.mp3\r\n";
    while (text.size() < 1000) text += "; padding line\n";
    TextReader reader(text);
    const std::string copy = DownloadPlaylist(reader, "http://host/lists/rock.pls");
    EXPECT_EQ(copy, TempFolder() + "rock.pls");
    EXPECT_EQ(FileContent(copy), text) << "the bytes as they came";
    EXPECT_EQ(reader.largest, 128u) << "read in blocks of 128 bytes";
    TextReader exact(std::string(256, '#'));
    EXPECT_EQ(FileContent(DownloadPlaylist(exact, "http://host/exact.m3u")), std::string(256, '#'));

    TextReader refusing("", false);
    EXPECT_EQ(DownloadPlaylist(refusing, "http://host/gone.pls"), "");
    TextReader nameless("x");
    EXPECT_EQ(DownloadPlaylist(nameless, "http://host/lists/"), "") << "no file name to save under";
}

} // namespace
} // namespace quavera
