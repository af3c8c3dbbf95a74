// The player's reader for local files.
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

} // namespace
} // namespace quavera
