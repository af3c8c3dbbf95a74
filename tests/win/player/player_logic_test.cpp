// The player's computations without a window: slider scale, label placement,
// display texts, command line, version and desktop rule, volume levels, the
// minimised window's scrolling title.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "caption_scroller.h"
#include "command_line.h"
#include "display_text.h"
#include "file_types.h"
#include "slider_scale.h"
#include "version_text.h"
#include "volume_level.h"
#include "window_placement.h"

namespace quavera {
namespace {

TEST(TickInterval, TakesTheFirstIntervalThatGivesAtMostTenTicks) {
    EXPECT_EQ(TickIntervalMs(0), 100u);
    EXPECT_EQ(TickIntervalMs(1000), 100u);
    EXPECT_EQ(TickIntervalMs(1100), 200u);
    EXPECT_EQ(TickIntervalMs(10005), 1000u);
    EXPECT_EQ(TickIntervalMs(36 * 60000), 240000u) << "36 min / 3 min = 12 is too many";
    EXPECT_EQ(TickIntervalMs(75 * 60000), 600000u);
    EXPECT_EQ(TickIntervalMs(10 * 3600000), 3600000u);
    EXPECT_EQ(TickIntervalMs(11 * 3600000), 0u) << "longer than ten hours: no ticks";
}

TEST(TickLabels, StayClearOfEndLabelsTheDialogEdgeAndEachOther) {
    const Span start{10, 50};
    const Span length{400, 440};
    const Span placed[] = {{100, 140}};
    EXPECT_TRUE(TickLabelFits({150, 190}, start, length, placed));
    EXPECT_TRUE(TickLabelFits({50, 90}, start, length, {})) << "touching is not crossing";
    EXPECT_FALSE(TickLabelFits({45, 85}, start, length, {}));
    EXPECT_FALSE(TickLabelFits({370, 410}, start, length, {}));
    EXPECT_FALSE(TickLabelFits({130, 170}, start, length, placed));
    EXPECT_FALSE(TickLabelFits({-5, 35}, {-40, -20}, length, {}));
}

TEST(TrackTime, ElapsedAndRemainingFormsWithoutHours) {
    EXPECT_EQ(FormatTrackTime(TimeMode::Elapsed, 0, 10000), " 0:00min ");
    EXPECT_EQ(FormatTrackTime(TimeMode::Elapsed, 61999, 70000), " 1:01min ");
    EXPECT_EQ(FormatTrackTime(TimeMode::Remaining, 0, 75 * 60000), "-75:00min ");
    EXPECT_EQ(FormatTrackTime(TimeMode::Remaining, 9500, 10005), "-0:00min ");
    EXPECT_EQ(FormatTrackTime(TimeMode::Remaining, 20000, 10000), "-0:00min ") << "never below zero";
    EXPECT_EQ(FormatSliderTime(0), "0:00min");
    EXPECT_EQ(FormatSliderTime(36 * 60000 + 5000), "36:05min");
}

TEST(Captions, ThreeStatesAndTheEmptyName) {
    EXPECT_EQ(CaptionText(PlayState::Playing, "song"), "Quavera - song");
    EXPECT_EQ(CaptionText(PlayState::Paused, "song"), "Quavera - song (paused)");
    EXPECT_EQ(CaptionText(PlayState::Stopped, "song"), "Quavera - song (stopped)");
    EXPECT_EQ(CaptionText(PlayState::Stopped, ""), "Quavera");
}

StreamStatus Status() {
    StreamStatus s{};
    std::strcpy(s.title, "song");
    s.layer = 3;
    s.mpegVersion = 2;
    s.bitratePerChannel = 32;
    s.streamRate = 22050;
    s.streamChannels = 2;
    s.outputRate = 11025;
    s.outputChannels = 1;
    s.bitsPerSample = 8;
    s.quality = 1;
    s.compressionRatio = 5.5125f;
    return s;
}

TEST(StreamTexts, ParametersNameAndDescription) {
    StreamStatus s = Status();
    EXPECT_EQ(PlaybackParameterText(s), "11025Hz 8Bit mono - best quality");
    EXPECT_EQ(SourceParameterText(s),
              "MPEG 2 Audio Layer III\n22050Hz 16Bit stereo - Bitrate 64kBit/s - Packratio 1/5.51");
    s.bitratePerChannel = 0;
    s.layer = 4;
    s.quality = 3;
    EXPECT_EQ(SourceParameterText(s),
              "MPEG 2 Audio Layer unkown\n22050Hz 16Bit stereo - Bitrate variable - Packratio 1/5.51");
    EXPECT_EQ(PlaybackParameterText(s), "11025Hz 8Bit mono - good quality");
    EXPECT_EQ(TrackNameText("song", ""), "song");
    EXPECT_EQ(TrackNameText("song", "live"), "song [live]");
}

TEST(CommandLineParsing, OptionsAnyCaseAndTheRestIsTheFileName) {
    CommandLine c = ParseCommandLine("-r c:\\music\\a b.mp3");
    EXPECT_TRUE(c.random);
    EXPECT_FALSE(c.play);
    EXPECT_EQ(c.fileName, "c:\\music\\a b.mp3");

    c = ParseCommandLine("c:\\x.mp3 /p");
    EXPECT_FALSE(c.play);
    EXPECT_EQ(c.fileName, "c:\\x.mp3 /p");

    c = ParseCommandLine("  /PLAY\t-close /Endless /x  song.mp2 ");
    EXPECT_TRUE(c.play);
    EXPECT_TRUE(c.closeWhenDone);
    EXPECT_TRUE(c.endless);
    EXPECT_FALSE(c.random);
    EXPECT_EQ(c.fileName, "song.mp2 ");

    c = ParseCommandLine("/p");
    EXPECT_TRUE(c.play);
    EXPECT_EQ(c.fileName, "");
    EXPECT_EQ(ParseCommandLine("").fileName, "");
    EXPECT_EQ(ParseCommandLine(nullptr).fileName, "");
    EXPECT_EQ(ParseCommandLine("x").fileName, "x");
    EXPECT_EQ(ParseCommandLine("/1.mp2").fileName, "/1.mp2") << "a slash without a letter starts the name";
    EXPECT_EQ(ParseCommandLine("-").fileName, "-");
    const std::string longLine(4000, 'a');
    EXPECT_EQ(ParseCommandLine(longLine.c_str()).fileName, longLine);
}

TEST(CommandLineParsing, AQuotedNameEndsAtItsClosingQuotationMark) {
    // As the shell passes a dropped file or "Open with".
    CommandLine c = ParseCommandLine("\"C:\\My Music\\a b.mp3\"");
    EXPECT_EQ(c.fileName, "C:\\My Music\\a b.mp3");
    EXPECT_FALSE(c.play);

    c = ParseCommandLine("/play \"C:\\My Music\\a b.mp3\"");
    EXPECT_TRUE(c.play);
    EXPECT_EQ(c.fileName, "C:\\My Music\\a b.mp3");

    // Options after the closing mark still count; other words there are no name.
    c = ParseCommandLine("\"a b.mp3\" /p -R stray \"more\" /e");
    EXPECT_EQ(c.fileName, "a b.mp3");
    EXPECT_TRUE(c.play);
    EXPECT_TRUE(c.random);
    EXPECT_TRUE(c.endless);
    EXPECT_FALSE(c.closeWhenDone);

    EXPECT_EQ(ParseCommandLine("\"\"").fileName, "") << "an empty quoted name is no name";
    EXPECT_EQ(ParseCommandLine("  \"\"  /p").play, true);
    EXPECT_EQ(ParseCommandLine("\"c:\\open end.mp3").fileName, "c:\\open end.mp3")
        << "without a closing mark the name runs to the end of the line";
    EXPECT_EQ(ParseCommandLine("\"").fileName, "");
    EXPECT_EQ(ParseCommandLine("c:\\a\"b\".mp3").fileName, "c:\\a\"b\".mp3")
        << "marks inside a name that does not begin with one belong to the name";

    // A long run of marks is handled without recursion or a quadratic scan.
    const std::string marks(30000, '"');
    EXPECT_EQ(ParseCommandLine(marks.c_str()).fileName, "");
}

TEST(Version, DigitsAndCommasOfTheProductVersion) {
    ProgramVersion v = ParseProductVersion("1, 00");
    EXPECT_EQ(v.text, "1.00");
    EXPECT_EQ(v.major, 1);
    EXPECT_EQ(v.minor, 0);
    v = ParseProductVersion("Version 2,15 beta");
    EXPECT_EQ(v.text, "2.15");
    EXPECT_EQ(v.minor, 15);
    v = ParseProductVersion(nullptr);
    EXPECT_EQ(v.text, "no version");
    EXPECT_EQ(v.major, 0);
    EXPECT_LE(ParseProductVersion(std::string(500, '9').c_str()).text.size(), 31u);
}

TEST(Version, ComparedAsUnsignedBytes) {
    EXPECT_LT(CompareVersionText("", "1.00"), 0);
    EXPECT_EQ(CompareVersionText("1.00", "1.00"), 0);
    EXPECT_GT(CompareVersionText("9.99", "1.00"), 0);
    EXPECT_LT(CompareVersionText("1.00", "1.01"), 0);
    EXPECT_GT(CompareVersionText("1.00\xe9", "1.00"), 0);
    EXPECT_GT(CompareVersionText("\xe9", "1"), 0) << "high bytes are large, not negative";
}

TEST(DesktopRule, AcceptsPositionsThatKeepTheWindowReachable) {
    const ScreenRect desktop{0, 0, 1024, 768};
    EXPECT_TRUE(PositionFitsDesktop(desktop, 40, 30, 400, 300));
    EXPECT_TRUE(PositionFitsDesktop(desktop, 40, 0, 400, 300));
    EXPECT_FALSE(PositionFitsDesktop(desktop, 40, -1, 400, 300)) << "caption above the desktop";
    EXPECT_TRUE(PositionFitsDesktop(desktop, 40, 763, 400, 300));
    EXPECT_FALSE(PositionFitsDesktop(desktop, 40, 764, 400, 300));
    EXPECT_TRUE(PositionFitsDesktop(desktop, 1019, 30, 400, 300));
    EXPECT_FALSE(PositionFitsDesktop(desktop, 1020, 30, 400, 300));
    EXPECT_TRUE(PositionFitsDesktop(desktop, -405, 30, 400, 300));
    EXPECT_FALSE(PositionFitsDesktop(desktop, -406, 30, 400, 300));
}

TEST(VolumeLevels, SliderPicturesAndPresets) {
    EXPECT_EQ(VolumeFromSlider(kVolumeSliderMax), 65528u);
    EXPECT_EQ(SliderFromVolume(65535), 8191u);
    EXPECT_EQ(VolumePicture(0), 0u);
    EXPECT_EQ(VolumePicture(13107), 0u);
    EXPECT_EQ(VolumePicture(13108), 1u);
    EXPECT_EQ(VolumePicture(65535), 4u);
    EXPECT_EQ(BaseVolume(30000, 50), 60000u);
    EXPECT_EQ(BaseVolume(40000, 50), 65535u) << "capped";
    EXPECT_EQ(PresetVolume(60000, 50), 30000u);
}

TEST(OpenFilter, AudioAndPlaylistPatterns) {
    EXPECT_EQ(OpenFilterText(),
              "MPEG Audio Files (*.mp2;*.mp3;*.l2;*.l3)|*.mp2;*.mp3;*.l2;*.l3|Playlist Files (*.pls;*.m3u)|"
              "*.pls;*.m3u|All Files (*.*)|*.*|");
}

TEST(OpenFilter, OneOrSeveralSelectedFiles) {
    using namespace std::string_literals;
    const std::string one = "C:\\music\\a b.mp2\0"s;
    EXPECT_EQ(SelectedFiles(one.c_str(), 9), std::vector<std::string>{"C:\\music\\a b.mp2"});
    const std::string several = "C:\\music\0b.mp2\0a.mp2\0list.pls\0\0"s;
    EXPECT_EQ(SelectedFiles(several.c_str(), 9),
              (std::vector<std::string>{"C:\\music\\b.mp2", "C:\\music\\a.mp2", "C:\\music\\list.pls"}));
    const std::string root = "C:\\\0x.mp2\0y.mp2\0\0"s;
    EXPECT_EQ(SelectedFiles(root.c_str(), 4), (std::vector<std::string>{"C:\\x.mp2", "C:\\y.mp2"}));
    EXPECT_TRUE(SelectedFiles("", 0).empty());
}

TEST(CaptionScroller, ATextThatFitsStandsAWiderOneRunsRoundThroughTheJoin) {
    CaptionScroller scroller;
    EXPECT_EQ(scroller.Next("Quavera  0:00min ", true), "Quavera  0:00min ");
    EXPECT_FALSE(scroller.running());
    EXPECT_EQ(scroller.Next("Quavera  0:00min ", true), "Quavera  0:00min ");

    // "ab" and " +++ ": seven characters, then the first title again.
    const std::vector<std::string> expected = {"ab +++ ", "b +++ a", " +++ ab", "+++ ab ", "++ ab +",
                                               "+ ab ++", " ab +++", "ab +++ ", "b +++ a"};
    for (const std::string& title : expected) EXPECT_EQ(scroller.Next("ab", false), title);
    EXPECT_TRUE(scroller.running());

    // A text grown shorter goes on from where the longer one was, within
    // its own length (offset 8 of 11, so 1 of 7); a reset starts it again.
    for (int i = 0; i < 6; ++i) scroller.Next("abcdef", false);
    EXPECT_EQ(scroller.Next("ab", false), "b +++ a");
    scroller.Reset();
    EXPECT_FALSE(scroller.running());
    EXPECT_EQ(scroller.Next("ab", false), "ab +++ ");
    EXPECT_EQ(scroller.Next("ab", true), "ab") << "fitting again, it stands";
    EXPECT_EQ(scroller.Next("ab", false), "ab +++ ");
}

} // namespace
} // namespace quavera
