// Streams with the encoder's information frame and with tags at the end, as
// the status and query records show them and as seeks see their length.
#include <fstream>

#include "engine_fixture.h"

namespace quavera::test {
namespace {

class EngineInfoFrame : public EngineTest {
protected:
    // A number make_engine_streams.sh wrote beside the streams.
    static double Number(const char* file) {
        std::ifstream in(StreamPath(file));
        double number = 0;
        in >> number;
        EXPECT_TRUE(in) << "missing test data: " << file;
        return number;
    }
    static std::int32_t FileBytes(const char* file) {
        std::ifstream in(StreamPath(file), std::ios::binary | std::ios::ate);
        return static_cast<std::int32_t>(in.tellg());
    }
    StreamStatus* query(const char* file) {
        return tamblin::QueryStreamInfo(nullptr, StreamPath(file).c_str(), &queryReader_);
    }
    FileReader queryReader_;
};

// lame -V 5 of 6 s, which mpg123 decodes to 264 600 samples; its information
// frame's header says 128 kbit/s, at which the file would last 2.2 s.
TEST_F(EngineInfoFrame, TotalTimeIsTheFramesTimeAndTheBitrateTheirAverage) {
    const double referenceMs = Number("vbr.samples") * 1000.0 / 44100;
    // The frames' time, the encoder's delay and padding included.
    const double framesSeconds = Number("vbr.frames") * 1152 / 44100.0;
    const double averagePerChannel = FileBytes("vbr.mp3") * 8.0 / framesSeconds / 1000 / 2;
    ASSERT_EQ(open(StreamPath("vbr.mp3")), 1);
    for (const StreamStatus* s : {tamblin::GetPlaybackStatus(), query("vbr.mp3")}) {
        ASSERT_NE(s, nullptr);
        EXPECT_NEAR(s->totalTime, referenceMs, 0.5);
        EXPECT_NEAR(s->bitratePerChannel, averagePerChannel, 0.5);
        EXPECT_FLOAT_EQ(s->compressionRatio, 16.0f * 44100 / (s->bitratePerChannel * 1000.0f));
        EXPECT_EQ(s->fileLength, FileBytes("vbr.mp3"));
    }
    // Seeks reach up to the end of the real length.
    EXPECT_EQ(tamblin::SeekPlayback(5999), 1);
    EXPECT_EQ(tamblin::SeekPlayback(6000), 0);
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(EngineInfoFrame, AbsurdInformationIsIgnored) {
    // A frame count of 0: the length from the first header, as for any stream.
    ASSERT_EQ(open(StreamPath("vbr_noframes.mp3")), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_FLOAT_EQ(s->totalTime, static_cast<float>(FileBytes("vbr_noframes.mp3") * 8.0 / 128));
    EXPECT_EQ(s->bitratePerChannel, 64);
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(EngineInfoFrame, TagsAtTheEndAreNotTimed) {
    const std::int32_t bytes = FileBytes("tagged_end.mp2");
    const double audioBytes = bytes - Number("tagged_end.tags");
    ASSERT_EQ(open(StreamPath("tagged_end.mp2")), 1);
    for (const StreamStatus* s : {tamblin::GetPlaybackStatus(), query("tagged_end.mp2")}) {
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->fileLength, bytes) << "the file's length, as the reader tells it";
        EXPECT_FLOAT_EQ(s->totalTime, static_cast<float>(audioBytes * 8 / 128));
    }
}

} // namespace
} // namespace quavera::test
