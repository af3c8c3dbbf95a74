// Stream information queries: their own record and context, never the
// playback's.
#include <cstring>
#include <fstream>

#include "engine_fixture.h"

namespace quavera::test {
namespace {

class EngineQuery : public EngineTest {
protected:
    FileReader queryReader_;
    StreamStatus* query(const std::string& path) {
        return tamblin::QueryStreamInfo(nullptr, path.c_str(), &queryReader_);
    }
};

TEST_F(EngineQuery, ReportsTheStreamAsAnalysedAtFullQuality) {
    configure(4, 3, 1, 8);
    const StreamStatus* s = query(StreamPath("stereo192_48k.mp2"));
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->title, "stereo192_48k");
    EXPECT_EQ(s->layer, 2);
    EXPECT_EQ(s->mpegVersion, 1);
    EXPECT_EQ(s->bitratePerChannel, 96);
    EXPECT_EQ(s->outputRate, 48000) << "queries ignore the configured divisor";
    EXPECT_EQ(s->streamRate, 48000);
    EXPECT_EQ(s->outputChannels, 2);
    EXPECT_EQ(s->streamChannels, 2);
    EXPECT_EQ(s->bitsPerSample, 16);
    EXPECT_EQ(s->quality, 1);
    EXPECT_EQ(s->position, 0.0f);
    EXPECT_EQ(s->playing, 0);
    EXPECT_NE(s, tamblin::GetPlaybackStatus());
    EXPECT_TRUE(boxes_.boxes().empty());

    const StreamStatus* mono = query(StreamPath("mono64.mp2"));
    ASSERT_EQ(mono, s) << "one query record, overwritten by the next query";
    EXPECT_EQ(mono->outputChannels, 1);
    EXPECT_FLOAT_EQ(mono->totalTime, 16016.0f * 8.0f / 64.0f);
}

TEST_F(EngineQuery, MissingFileGivesNullAndTheMessage) {
    const std::string path = StreamPath("absent.mp2");
    EXPECT_EQ(query(path), nullptr);
    EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"File " + path + " does not exist!"});
    EXPECT_EQ(tamblin::QueryStreamInfo(nullptr, nullptr, &queryReader_), nullptr);
}

TEST_F(EngineQuery, InvalidFileGivesTheZeroedRecordAndTheReason) {
    ASSERT_NE(query(StreamPath("stereo128.mp2")), nullptr);
    const StreamStatus* s = query(StreamPath("layer1.mp2"));
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->title, "");
    EXPECT_EQ(s->layer, 0);
    EXPECT_EQ(s->fileLength, 0);
    EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"This type of audiofile is currently not supported!"});
}

TEST_F(EngineQuery, LeavesTheOpenStreamAlone) {
    ASSERT_EQ(open(StreamPath("stereo128.mp2")), 1);
    StreamStatus before;
    std::memcpy(&before, tamblin::GetPlaybackStatus(), sizeof before);

    ASSERT_NE(query(StreamPath("lsf22.mp3")), nullptr);
    ASSERT_NE(query(StreamPath("random.bin")), nullptr);
    EXPECT_EQ(std::memcmp(&before, tamblin::GetPlaybackStatus(), sizeof before), 0);
    // The open stream still plays from its own reader.
    EXPECT_EQ(tamblin::StartPlayback(), 1);
    EXPECT_EQ(tamblin::GetPlaybackStatus()->playing, 1);
    EXPECT_EQ(tamblin::StopPlayback(0), 1);
}

TEST_F(EngineQuery, DescriptionAndTitleComeFromTheQueriedFile) {
    const std::string directory = StreamPath("queried");
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string audio = directory + "\\tone.mp2";
    ASSERT_TRUE(CopyFileA(StreamPath("mono64.mp2").c_str(), audio.c_str(), FALSE));
    std::ofstream(directory + "\\descript.ion") << "tone.mp2 a quiet tone\n";
    const StreamStatus* s = query(audio);
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->title, "tone");
    EXPECT_STREQ(s->description, "a quiet tone");
}

} // namespace
} // namespace quavera::test
