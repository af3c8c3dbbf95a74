// Opening streams through the engine: every refusal with its text, and the
// status record of a stream that opened.
#include <array>
#include <fstream>
#include <vector>

#include "engine_fixture.h"

namespace quavera::test {
namespace {

constexpr const char* kNotValid = "This is not a valid audiofile!";
constexpr const char* kNoDevice =
    "No wave audio device available. Please check your systemconfiguration or try again later.";

class EngineOpen : public EngineTest {
protected:
    std::vector<std::string> shown() const { return boxes_.texts(); }
};

TEST_F(EngineOpen, NullPathFailsSilently) {
    EXPECT_EQ(tamblin::OpenStream(1, nullptr, nullptr, &reader_, 1000), 0);
    EXPECT_TRUE(shown().empty());
}

TEST_F(EngineOpen, MissingFileNamesTheFile) {
    const std::string path = StreamPath("no such file.mp2");
    EXPECT_EQ(open(path), 0);
    EXPECT_EQ(shown(), std::vector<std::string>{"File " + path + " does not exist!"});
    // A failed open leaves the engine free for the next one.
    EXPECT_EQ(open(StreamPath("stereo128.mp2")), 1);
}

TEST_F(EngineOpen, ErrorsUseTheErrorBox) {
    open(StreamPath("layer1.mp2"));
    const auto boxes = boxes_.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error!");
    EXPECT_EQ(boxes[0].icon, IconKind::Error);
}

struct BadStream {
    const char* file;
    const char* text;
};

class EngineOpenBadStream : public EngineOpen, public ::testing::WithParamInterface<BadStream> {};

TEST_P(EngineOpenBadStream, IsRefusedWithItsText) {
    EXPECT_EQ(open(StreamPath(GetParam().file)), 0);
    EXPECT_EQ(shown(), std::vector<std::string>{GetParam().text});
    EXPECT_EQ(open(StreamPath("stereo128.mp2")), 1) << "a refused open must leave the engine free";
}

INSTANTIATE_TEST_SUITE_P(
    Files, EngineOpenBadStream,
    ::testing::Values(BadStream{"empty.mp2", kNotValid}, BadStream{"random.bin", kNotValid},
                      BadStream{"short_header.mp2", kNotValid},
                      BadStream{"layer1.mp2", "This type of audiofile is currently not supported!"},
                      BadStream{"bitrate15.mp2", "Layer II: Forbidden bitrate used for encoding!"},
                      BadStream{"freeformat.mp2", "Layer II: Bitrate 0 not supported!\n"},
                      BadStream{"freeformat.mp3", kNotValid}, BadStream{"reservedrate.mp2", kNotValid}),
    [](const auto& test) {
        std::string name = test.param.file;
        name[name.find('.')] = '_';
        return name;
    });

TEST_F(EngineOpen, ArbitraryBytesNeverLeaveTheEngineStuck) {
    // A chance sync word may make these bytes open as a stream; either way the
    // engine must stay usable.
    const int opened = open(StreamPath("random_any.bin"));
    EXPECT_EQ(shown().size(), opened ? 0u : 1u);
    tamblin::StopPlayback(0);
    tamblin::CloseStream();
    EXPECT_EQ(open(StreamPath("stereo128.mp2")), 1);
}

struct BadSetting {
    std::array<int, 8> settings;
    const char* text;
};

class EngineOpenBadSetting : public EngineOpen, public ::testing::WithParamInterface<BadSetting> {};

TEST_P(EngineOpenBadSetting, IsRefusedWithTheFirstFaultInOrder) {
    const auto& s = GetParam().settings;
    configure(s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]);
    EXPECT_EQ(open(StreamPath("stereo128.mp2")), 0);
    EXPECT_EQ(shown(), std::vector<std::string>{GetParam().text});
}

INSTANTIATE_TEST_SUITE_P(
    Settings, EngineOpenBadSetting,
    ::testing::Values(
        BadSetting{{3, 9, 2, 16, 14, 2, 4, -1}, "Illegal playback methode selected!"},
        BadSetting{{1, 2, 2, 16, 14, 2, 0, -1}, "Illegal playback methode selected!"},
        BadSetting{{3, 9, 2, 16, 14, 2, 1, -1}, "Illegal playback configuration: 3 FrequencyDivisor"},
        BadSetting{{1, 0, 3, 16, 14, 2, 1, -1}, "Illegal playback configuration: 0 Quality"},
        BadSetting{{4, 4, 2, 16, 14, 2, 2, -1}, "Illegal playback configuration: 4 Quality"},
        BadSetting{{2, 3, 3, 12, 14, 2, 3, -1}, "Illegal playback configuration: 3 Channels"},
        BadSetting{{1, 2, 1, 12, 3, 2, 1, -1}, "Illegal playback configuration: 12 BitsPerSample"},
        BadSetting{{1, 2, 2, 8, 3, 0, 1, -1}, "Illegal playback configuration: 3 Buffers"},
        BadSetting{{1, 2, 2, 16, 129, 2, 1, -1}, "Illegal playback configuration: 129 Buffers"},
        BadSetting{{1, 2, 2, 16, 128, 17, 1, -1}, "Illegal playback configuration: 17 FramesPerBuffer"},
        BadSetting{{1, 2, 2, 16, 4, 0, 1, -1}, "Illegal playback configuration: 0 FramesPerBuffer"}));

TEST_F(EngineOpen, BadDeviceIdIsReportedThenNoDevice) {
    configure(1, 2, 2, 16, 14, 2, 1, 57);
    EXPECT_EQ(open(StreamPath("stereo128.mp2")), 0);
    EXPECT_EQ(shown(), (std::vector<std::string>{"Invalid WaveOut-device ID 57!", kNoDevice}));
}

TEST_F(EngineOpen, SecondOpenWithoutCloseIsRefused) {
    ASSERT_EQ(open(StreamPath("stereo128.mp2")), 1);
    EXPECT_EQ(open(StreamPath("mono64.mp2")), 0);
    EXPECT_EQ(shown(), std::vector<std::string>{"Another audio playback thread is already running!"});
    // The first stream is still the current one.
    EXPECT_STREQ(tamblin::GetPlaybackStatus()->title, "stereo128");
    // Stopping frees the engine for the next open.
    EXPECT_EQ(tamblin::StopPlayback(0), 1);
    EXPECT_EQ(open(StreamPath("mono64.mp2")), 1);
}

TEST_F(EngineOpen, StereoLayerTwoFillsTheStatusRecord) {
    const std::string path = StreamPath("stereo128.mp2");
    ASSERT_EQ(open(path), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_STREQ(s->title, "stereo128");
    EXPECT_STREQ(s->description, "");
    EXPECT_EQ(s->fileLength, 32109);
    EXPECT_FLOAT_EQ(s->totalTime, 32109.0f * 8.0f / 128.0f);
    EXPECT_EQ(s->position, 0.0f);
    EXPECT_FLOAT_EQ(s->compressionRatio, 16.0f * 44100.0f / 64000.0f);
    EXPECT_EQ(s->layer, 2);
    EXPECT_EQ(s->mpegVersion, 1);
    EXPECT_EQ(s->bitratePerChannel, 64);
    EXPECT_EQ(s->outputRate, 44100);
    EXPECT_EQ(s->streamRate, 44100);
    EXPECT_EQ(s->outputChannels, 2);
    EXPECT_EQ(s->streamChannels, 2);
    EXPECT_EQ(s->bitsPerSample, 16);
    EXPECT_EQ(s->quality, 2);
    EXPECT_EQ(s->playing, 0);
    EXPECT_EQ(s->paused, 0);
    EXPECT_NE(s->device, nullptr);
    EXPECT_TRUE(shown().empty());
}

TEST_F(EngineOpen, ConfigurationShapesTheOutput) {
    configure(4, 1, 1, 8);
    ASSERT_EQ(open(StreamPath("stereo192_48k.mp2")), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_EQ(s->outputRate, 12000);
    EXPECT_EQ(s->streamRate, 48000);
    EXPECT_EQ(s->outputChannels, 1);
    EXPECT_EQ(s->streamChannels, 2);
    EXPECT_EQ(s->bitsPerSample, 8);
    EXPECT_EQ(s->quality, 1);
    EXPECT_EQ(s->bitratePerChannel, 96);
}

TEST_F(EngineOpen, SingleChannelStreamPlaysMonoWhateverTheConfiguration) {
    configure(1, 2, 2, 16);
    ASSERT_EQ(open(StreamPath("mono64.mp2")), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_EQ(s->outputChannels, 1);
    EXPECT_EQ(s->streamChannels, 1);
    EXPECT_EQ(s->bitratePerChannel, 64);
}

TEST_F(EngineOpen, LowSamplingFrequencyLayerThreeIsMpegTwo) {
    ASSERT_EQ(open(StreamPath("lsf22.mp3")), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_EQ(s->layer, 3);
    EXPECT_EQ(s->mpegVersion, 2);
    EXPECT_EQ(s->streamRate, 22050);
}

TEST_F(EngineOpen, JunkBeforeTheFirstFrameIsSkipped) {
    ASSERT_EQ(open(StreamPath("junk_before.mp2")), 1);
    EXPECT_EQ(tamblin::GetPlaybackStatus()->layer, 2);
}

TEST_F(EngineOpen, DescriptionComesFromTheDirectorysDescriptIon) {
    const std::string directory = StreamPath("described");
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string audio = directory + "\\my song.mp2";
    ASSERT_TRUE(CopyFileA(StreamPath("stereo128.mp2").c_str(), audio.c_str(), FALSE));
    {
        std::ofstream ion(directory + "\\descript.ion");
        ion << "my song.mp2 unquoted keys do not match names with blanks\n";
        ion << "\"my song.mp2\"   A generated tone\n";
        ion << "\"my song.mp2\" second line loses\n";
    }
    ASSERT_EQ(open(audio), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_STREQ(s->title, "my song");
    EXPECT_STREQ(s->description, "A generated tone");
}

TEST_F(EngineOpen, FormatChangeReopensTheDevice) {
    ASSERT_EQ(open(StreamPath("stereo128.mp2")), 1);
    ASSERT_EQ(tamblin::StopPlayback(0), 1);
    tamblin::CloseStream();
    ASSERT_EQ(open(StreamPath("stereo192_48k.mp2")), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    ASSERT_NE(s->device, nullptr);
    EXPECT_EQ(waveOutSetVolume(s->device, 0x12345678), MMSYSERR_NOERROR);
}

TEST_F(EngineOpen, TheVolumeCarriesOverToADeviceReopenedForAnotherFormat) {
    ASSERT_EQ(open(StreamPath("mono64.mp2")), 1);
    ASSERT_EQ(tamblin::SetVolume(0x8000, 0x8000), 1);
    ASSERT_EQ(tamblin::StopPlayback(0), 1);
    tamblin::CloseStream();
    ASSERT_EQ(open(StreamPath("stereo128.mp2")), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_EQ(s->outputChannels, 2);
    WORD left = 0;
    WORD right = 0;
    ASSERT_EQ(tamblin::GetVolume(&left, &right), 1);
    EXPECT_EQ(left, 0x8000) << "the new device starts at the level chosen on the old one";
    EXPECT_EQ(right, 0x8000);
    EXPECT_EQ(s->volumeLeft, 0x8000);
    EXPECT_EQ(s->volumeRight, 0x8000);
}

TEST_F(EngineOpen, StopAndCloseWhenNothingIsOpen) {
    EXPECT_EQ(tamblin::StopPlayback(0), 0);
    EXPECT_EQ(tamblin::StopPlayback(1), 0);
    EXPECT_EQ(tamblin::CloseStream(), 1);
    EXPECT_EQ(tamblin::StartPlayback(), 0);
}

TEST_F(EngineOpen, VolumeNeedsAnOpenStreamAndSurvivesClose) {
    tamblin::StopPlayback(1);
    EXPECT_EQ(tamblin::SetVolume(0x1000, 0x2000), 0);
    ASSERT_EQ(open(StreamPath("stereo128.mp2")), 1);
    EXPECT_EQ(tamblin::SetVolume(0x11234, 0x4000), 1) << "only the low 16 bits count";
    WORD left = 0;
    WORD right = 0;
    ASSERT_EQ(tamblin::GetVolume(&left, &right), 1);
    EXPECT_EQ(left, 0x1234);
    EXPECT_EQ(right, 0x4000);
    EXPECT_EQ(tamblin::GetVolume(nullptr, &right), 1);

    ASSERT_EQ(tamblin::StopPlayback(0), 1);
    EXPECT_EQ(tamblin::CloseStream(), 1);
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_EQ(s->volumeLeft, 0x1234);
    EXPECT_EQ(s->volumeRight, 0x4000);
    EXPECT_STREQ(s->title, "");
    EXPECT_EQ(s->layer, 0);
}

} // namespace
} // namespace quavera::test
