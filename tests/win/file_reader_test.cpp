// The player's reader for local files, alone and as a continuous list.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "file_reader.h"

namespace quavera {
namespace {

std::string MakeFile(const char* name, const std::string& content) {
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

TEST(FileReader, ReadsSeeksAndMeasures) {
    const std::string path = MakeFile("quavera-reader.bin", "0123456789");
    FileReader reader;
    ASSERT_EQ(reader.open(path.c_str()), 1);
    EXPECT_EQ(reader.length(), 10);
    EXPECT_STREQ(reader.name(), path.c_str());
    char buffer[8] = {};
    EXPECT_EQ(reader.read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(reader.tell(), 4);
    ASSERT_EQ(reader.seek(8), 1);
    EXPECT_EQ(reader.read(buffer, 8), 2u) << "a short read marks the end of input";
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ(reader.read(buffer, 8), 0u);
    EXPECT_EQ(reader.read(nullptr, 0), 0u) << "a single file never crosses into a next one";
    EXPECT_EQ(reader.fileChanged(), 0);
    EXPECT_EQ(reader.close(), 1);
    EXPECT_EQ(reader.close(), 1) << "closing a closed reader is no failure";
}

TEST(FileReader, MissingFileFailsAndKeepsItsNameForTheMessage) {
    FileReader reader;
    EXPECT_EQ(reader.open("Z:\\no\\such\\file.mp2"), 0);
    EXPECT_STREQ(reader.name(), "Z:\\no\\such\\file.mp2");
    char byte = 0;
    EXPECT_EQ(reader.read(&byte, 1), 0u);
    EXPECT_EQ(reader.seek(0), 0);
    EXPECT_EQ(reader.length(), 0);
    EXPECT_EQ(reader.open(nullptr), 0);
}

TEST(FileReader, VeryLongNamesFailCleanly) {
    FileReader reader;
    const std::string name = "C:\\" + std::string(5000, 'n') + ".mp2";
    EXPECT_EQ(reader.open(name.c_str()), 0);
}

// An ID3v2 tag of the given body size (no footer) whose body looks like audio.
std::string Tag(std::size_t body) {
    std::string tag = "ID3";
    tag += '\x04';
    tag += '\x00';
    tag += '\x00';
    for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>(body >> shift & 0x7F);
    for (std::size_t i = 0; i < body; ++i) tag += i % 2 == 0 ? '\xFF' : '\xFB';
    return tag;
}

TEST(FileReader, ListReadsOnIntoTheNextFilesAndFlagsTheMove) {
    const std::string first = MakeFile("quavera-list1.bin", "abcdef");
    const std::string second = MakeFile("quavera-list2.bin", Tag(300) + "GHIJ");
    const std::string third = MakeFile("quavera-list3.bin", "klmnop");
    FileReader reader;
    const std::string name = reader.ListName({first, second, third});
    ASSERT_EQ(reader.open(name.c_str()), 1);
    EXPECT_STREQ(reader.name(), first.c_str());
    EXPECT_EQ(reader.length(), 6);
    char buffer[32] = {};
    EXPECT_EQ(reader.read(buffer, 4), 4u);
    EXPECT_EQ(reader.fileChanged(), 0);

    // Two bytes of the first file, then the second's audio after its tag.
    const std::uint32_t got = reader.read(buffer, 5);
    EXPECT_EQ(got, 5u | InputSource::kNextFileFlag);
    EXPECT_EQ(std::string(buffer, 5), "efGHI");
    EXPECT_EQ(reader.read(nullptr, 0), 2u) << "bytes of the previous file in the flagged read";
    EXPECT_EQ(reader.fileChanged(), 1);
    EXPECT_EQ(reader.fileChanged(), 0) << "taken and cleared";
    EXPECT_EQ(reader.listPosition(), 1u);
    EXPECT_STREQ(reader.name(), second.c_str());
    EXPECT_EQ(reader.length(), 4) << "a later file counts from its audio";
    EXPECT_EQ(reader.tell(), 3);
    ASSERT_EQ(reader.seek(1), 1);
    EXPECT_EQ(reader.read(buffer, 2), 2u);
    EXPECT_EQ(std::string(buffer, 2), "HI");

    EXPECT_EQ(reader.read(buffer, 32), 7u | InputSource::kNextFileFlag);
    EXPECT_EQ(std::string(buffer, 7), "Jklmnop");
    EXPECT_EQ(reader.read(buffer, 32), 0u) << "the end of the last file ends the stream";
    EXPECT_EQ(reader.listPosition(), 2u);

    // Opening the list again starts over; a plain file name reads one file.
    ASSERT_EQ(reader.open(name.c_str()), 1);
    EXPECT_EQ(reader.listPosition(), 0u);
    EXPECT_EQ(reader.read(buffer, 32), 16u | InputSource::kNextFileFlag);
    ASSERT_EQ(reader.open(third.c_str()), 1);
    EXPECT_EQ(reader.read(buffer, 32), 6u);
}

TEST(FileReader, AMissingNextFileEndsTheRun) {
    const std::string first = MakeFile("quavera-run1.bin", "abc");
    const std::string third = MakeFile("quavera-run3.bin", "xyz");
    FileReader reader;
    const std::string name = reader.ListName({first, "Z:\\no\\such\\file.mp2", third});
    ASSERT_EQ(reader.open(name.c_str()), 1);
    char buffer[16] = {};
    EXPECT_EQ(reader.read(buffer, 16), 3u);
    EXPECT_EQ(reader.read(buffer, 16), 0u);
    EXPECT_EQ(reader.fileChanged(), 0);
    EXPECT_STREQ(reader.name(), first.c_str());
}

TEST(FileReader, OnlyItsOwnListOpensAsAList) {
    FileReader reader;
    FileReader other;
    const std::string own = reader.ListName({MakeFile("quavera-own.bin", "own")});
    const std::string foreign = other.ListName({MakeFile("quavera-foreign.bin", "foreign")});
    EXPECT_EQ(reader.open(foreign.c_str()), 0) << "another reader's address is only a file name";
    EXPECT_STREQ(reader.name(), foreign.c_str());
    for (const char* name : {"list:1", "list:0", "list:-4096", "list:18446744073709551615", "list:"})
        EXPECT_EQ(reader.open(name), 0) << name;
    EXPECT_EQ(reader.open(own.c_str()), 1);
    FileReader empty;
    EXPECT_EQ(empty.open(empty.ListName({}).c_str()), 0);
}

TEST(FileReader, ATagLongerThanItsFileLeavesNoAudio) {
    const std::string first = MakeFile("quavera-tag1.bin", "ab");
    std::string cut = Tag(300);
    cut.resize(100);
    const std::string second = MakeFile("quavera-tag2.bin", cut);
    const std::string third = MakeFile("quavera-tag3.bin", Tag(0) + "cd");
    FileReader reader;
    ASSERT_EQ(reader.open(reader.ListName({first, second, third}).c_str()), 1);
    char buffer[16] = {};
    EXPECT_EQ(reader.read(buffer, 16), 4u | InputSource::kNextFileFlag);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(reader.read(nullptr, 0), 2u);
}

} // namespace
} // namespace quavera
