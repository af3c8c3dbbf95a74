// Titles and "descript.ion" lookups for the status records.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "description.h"

namespace quavera {
namespace {

TEST(StreamTitle, DropsDirectoryAndExtension) {
    EXPECT_EQ(StreamTitle("C:\\music\\my song.final.mp2"), "my song.final");
    EXPECT_EQ(StreamTitle("list:/x/y/track.mp3"), "track");
    EXPECT_EQ(StreamTitle("noextension"), "noextension");
    EXPECT_EQ(StreamTitle("C:\\dotted.dir\\plain"), "plain");
    EXPECT_EQ(StreamTitle(""), "");
    EXPECT_EQ(StreamTitle(nullptr), "");
}

class Description : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        directory_ = std::string(temp) + "qdesc\\";
        CreateDirectoryA(directory_.c_str(), nullptr);
    }
    void write(const std::string& content) { std::ofstream(directory_ + "descript.ion") << content; }
    std::string directory_;
};

TEST_F(Description, FirstMatchingLineWinsAndPrefixesMatch) {
    write("other.mp2 not this one\n"
          "song.mp2\t  first text  \n"
          "song.mp2 second text\n");
    EXPECT_EQ(LookupDescription((directory_ + "song.mp2").c_str()), "first text  ");
    // A key that is the beginning of a longer name matches that name's line.
    EXPECT_EQ(LookupDescription((directory_ + "other.mp").c_str()), "2 not this one");
    EXPECT_EQ(LookupDescription((directory_ + "absent.mp2").c_str()), "");
    EXPECT_EQ(LookupDescription((directory_ + "SONG.mp2").c_str()), "") << "the match is case-sensitive";
}

TEST_F(Description, NamesWithBlanksAreFoundOnlyQuoted) {
    write("a b.mp2 unquoted\n"
          "\"a b.mp2\" quoted\n");
    EXPECT_EQ(LookupDescription((directory_ + "a b.mp2").c_str()), "quoted");
}

TEST_F(Description, LinesAreReadInPiecesOf79Characters) {
    // The continuation of a long line is not the beginning of a line.
    write(std::string(79, 'x') + "song.mp2 continuation\n" + "song.mp2 real\n");
    EXPECT_EQ(LookupDescription((directory_ + "song.mp2").c_str()), "real");
    write("song.mp2 " + std::string(100, 'y') + "\n");
    EXPECT_EQ(LookupDescription((directory_ + "song.mp2").c_str()), std::string(70, 'y'));
}

TEST_F(Description, LookupPathsBeyond127CharactersGiveNone) {
    const std::string deep = directory_ + std::string(120, 'd') + "\\";
    EXPECT_EQ(LookupDescription((deep + "song.mp2").c_str()), "");
    EXPECT_EQ(LookupDescription(nullptr), "");
}

TEST_F(Description, NoDescriptIonMeansNoDescription) {
    DeleteFileA((directory_ + "descript.ion").c_str());
    EXPECT_EQ(LookupDescription((directory_ + "song.mp2").c_str()), "");
}

} // namespace
} // namespace quavera
