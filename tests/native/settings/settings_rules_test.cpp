// The buffer slider's arithmetic and the ID3 version 1 tag reader.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "buffer_size.h"
#include "id3v1_tag.h"

namespace quavera {
namespace {

TEST(BufferSlider, QuarterSecondsOfTheRingAndBackToBlocks) {
    EXPECT_EQ(BufferSliderPosition(14, 2), 3);
    EXPECT_EQ(BufferSizeText(3), "0.75 seconds");
    EXPECT_EQ(BuffersForSliderPosition(2, 2), 10);
    EXPECT_EQ(BufferSliderPosition(10, 2), 2);
    EXPECT_EQ(BufferSizeText(2), "0.50 seconds");
    EXPECT_EQ(BuffersForSliderPosition(16, 2), 77);
    EXPECT_EQ(BufferSliderPosition(77, 2), 16);
    EXPECT_EQ(BufferSizeText(16), "4.00 seconds");
    EXPECT_EQ(BuffersForSliderPosition(3, 2), 14);
}

TEST(BufferSlider, BlockCountsStayWithinWhatTheEnginePlays) {
    EXPECT_EQ(BuffersForSliderPosition(2, 16), 4) << "1.2 blocks of 16 frames";
    EXPECT_EQ(BuffersForSliderPosition(16, 1), 128) << "153 blocks of one frame";
    EXPECT_EQ(BuffersForSliderPosition(4, 0), 38) << "a stored 0 frames counts as one";
    EXPECT_EQ(BuffersForSliderPosition(4, -3), 38);
    EXPECT_EQ(BufferSliderPosition(-5, 2), 0);
    EXPECT_EQ(BufferSliderPosition(2147483647, 2147483647), 1000000);
    EXPECT_EQ(BufferSizeText(1000000), "250000.00 seconds");
}

std::array<std::uint8_t, kId3v1Size> Tag(const std::string& marker) {
    std::array<std::uint8_t, kId3v1Size> tag{};
    std::copy(marker.begin(), marker.end(), tag.begin());
    return tag;
}

void Put(std::array<std::uint8_t, kId3v1Size>& tag, std::size_t offset, const std::string& text) {
    std::copy(text.begin(), text.end(), tag.begin() + static_cast<long>(offset));
}

TEST(Id3v1Tag, FieldsEndAtTheirFirstNulAndKeepTheirBlanks) {
    auto tag = Tag("TAG");
    Put(tag, 3, std::string(30, 'T'));
    Put(tag, 33, "Artist   ");
    Put(tag, 63, "Album");
    Put(tag, 68, std::string("\0junk", 5));
    Put(tag, 93, "1999");
    Put(tag, 97, std::string(30, ' '));
    tag[127] = 17;
    const auto parsed = ParseId3v1Tag(tag.data(), tag.size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->title, std::string(30, 'T')) << "no NUL: all 30 letters";
    EXPECT_EQ(parsed->artist, "Artist   ");
    EXPECT_EQ(parsed->album, "Album");
    EXPECT_EQ(parsed->year, "1999");
    EXPECT_EQ(parsed->comment, std::string(30, ' '));
}

TEST(Id3v1Tag, EmptyFieldsAndBytesShownAsTheyAre) {
    auto tag = Tag("TAG");
    Put(tag, 3, std::string(30, '\xFF'));
    Put(tag, 33, "\x01\x02\r\n\t\x1b");
    const auto parsed = ParseId3v1Tag(tag.data(), tag.size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->title, std::string(30, '\xFF'));
    EXPECT_EQ(parsed->artist, "\x01\x02\r\n\t\x1b");
    EXPECT_EQ(parsed->album, "");
    EXPECT_EQ(parsed->year, "");
    EXPECT_EQ(parsed->comment, "");
}

TEST(Id3v1Tag, NoTagWithoutTheExactMarkerOrIn127Bytes) {
    EXPECT_FALSE(ParseId3v1Tag(Tag("tag").data(), kId3v1Size)) << "case matters";
    EXPECT_FALSE(ParseId3v1Tag(Tag("TA").data(), kId3v1Size));
    EXPECT_FALSE(ParseId3v1Tag(Tag("ID3").data(), kId3v1Size));
    EXPECT_FALSE(ParseId3v1Tag(Tag("TAG").data(), kId3v1Size - 1)) << "a 127-byte file";
    EXPECT_FALSE(ParseId3v1Tag(Tag("TAG").data(), 0));
    EXPECT_FALSE(ParseId3v1Tag(nullptr, kId3v1Size));
}

} // namespace
} // namespace quavera
