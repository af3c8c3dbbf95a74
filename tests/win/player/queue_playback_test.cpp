// Playing a queue on the capturing device: a run of local files sounds as
// their own decodes joined while the displays follow each file, the end of
// the queue rewinds it, drops become queues, and close-when-done ends the
// player.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "player_driver.h"

namespace quavera::test {
namespace {

using Pcm = std::vector<std::int16_t>;
constexpr std::size_t kFrameSamples = 1152 * 2; // one stereo frame

Pcm ReadPcm(const std::string& path, bool wave) {
    std::string bytes = FileContent(path);
    if (wave) {
        const std::size_t data = bytes.find("data");
        bytes = data == std::string::npos ? std::string() : bytes.substr(data + 8);
    }
    Pcm pcm(bytes.size() / 2);
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return pcm;
}

// The three files of the run and the decoder tool's output of each.
struct RunFiles {
    std::vector<std::string> files;
    std::vector<Pcm> decodes;
};

// run1.mp2 to run3.mp2, or another name and extension.
RunFiles MakeRun(const std::string& name = "run", const std::string& extension = ".mp2") {
    RunFiles run;
    for (const char* number : {"1", "2", "3"}) {
        run.files.push_back(StreamPath((name + number + extension).c_str()));
        run.decodes.push_back(ReadPcm(StreamPath((name + number + ".wav").c_str()), true));
    }
    return run;
}

std::string RunPlaylist(const RunFiles& run) {
    std::string text;
    for (const std::string& file : run.files) text += file + "\r\n";
    return WriteTempFile("quavera-run.m3u", text);
}

// The capture equals the expected sound, except that the first frames after
// each of the starts may be quieter (the muted first block of an opened
// stream and the device's latency). Returns how many starts had such a head.
int ExpectSoundsAs(const Pcm& capture, const Pcm& expected, const std::vector<std::size_t>& starts) {
    constexpr std::size_t kMaxHead = 8 * kFrameSamples;
    EXPECT_GE(capture.size(), expected.size()) << "captured samples";
    std::vector<bool> quieterHead(starts.size(), false);
    int mismatches = 0;
    for (std::size_t i = 0; i < std::min(capture.size(), expected.size()); ++i) {
        if (capture[i] == expected[i]) continue;
        const auto c = capture[i];
        const auto e = expected[i];
        const bool quieter = std::abs(c) <= std::abs(e) && (c == 0 || (c > 0) == (e > 0));
        std::size_t head = starts.size();
        for (std::size_t s = 0; s < starts.size(); ++s)
            if (i >= starts[s] && i < starts[s] + kMaxHead) head = s;
        if (quieter && head < starts.size()) {
            quieterHead[head] = true;
        } else if (++mismatches <= 5) {
            ADD_FAILURE() << "sample " << i << " (frame " << i / kFrameSamples << "): captured " << c << ", expected "
                          << e;
        }
    }
    for (std::size_t i = expected.size(); i < capture.size(); ++i)
        if (capture[i] != 0) {
            ADD_FAILURE() << "sound after the end of the queue at sample " << i;
            break;
        }
    return static_cast<int>(std::count(quieterHead.begin(), quieterHead.end(), true));
}

// What the displays showed, in order: the track counter and the track name,
// each change once.
std::vector<std::pair<std::string, std::string>> FollowUntilStopped(HWND main, const std::string& stoppedCaption,
                                                                   int timeoutMs = 30000) {
    std::vector<std::pair<std::string, std::string>> shown;
    bool played = false;
    for (int waited = 0; waited < timeoutMs; waited += 2) {
        const std::string caption = WindowText(main);
        // The two texts are read one after the other: a pair counts when a
        // second reading finds it unchanged.
        const auto read = [&] { return std::pair{ItemText(main, kTrackNumber), ItemText(main, kTrackName)}; };
        const auto now = read();
        if (read() != now) continue;
        if (shown.empty() || shown.back() != now) shown.push_back(now);
        played = played || caption.find("(stopped)") == std::string::npos;
        if (played && caption == stoppedCaption && shown.size() > 1) break;
        Sleep(2);
    }
    return shown;
}

class PlayerQueuePlayback : public CaptureTest {
protected:
    void SetUp() override {
        CaptureTest::SetUp();
        DeleteFileA(CapturePath().c_str());
    }
};

using Shown = std::vector<std::pair<std::string, std::string>>;

TEST_F(PlayerQueuePlayback, ARunOfThreeFilesSoundsAsTheirDecodesJoinedAndTheDisplaysFollowIt) {
    const RunFiles run = MakeRun();
    PlayerProcess player("/p " + RunPlaylist(run));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const Shown shown = FollowUntilStopped(main, "Quavera - run1 (stopped)");
    EXPECT_EQ(shown, (Shown{{"1 ", "run1"}, {"2 ", "run2"}, {"3 ", "run3"}, {"1 ", "run1"}}))
        << "each file in turn, then the queue stands at its start";
    EXPECT_EQ(ItemText(main, kTracksToGo), "2 ");
    EXPECT_TRUE(player.Close());

    Pcm joined;
    for (const Pcm& decode : run.decodes) joined.insert(joined.end(), decode.begin(), decode.end());
    // One stream: only its very start is muted; no gap, no frame lost or
    // repeated and no tag heard at the joins.
    EXPECT_EQ(ExpectSoundsAs(ReadPcm(CapturePath(), false), joined, {0}), 1);
}

// The SNR of a signal against a reference over stereo samples [from, to).
double Snr(const Pcm& signal, const Pcm& reference, std::size_t from, std::size_t to) {
    double power = 0;
    double error = 0;
    for (std::size_t i = 2 * from; i < 2 * to && i < signal.size() && i < reference.size(); ++i) {
        power += static_cast<double>(reference[i]) * reference[i];
        error += static_cast<double>(signal[i] - reference[i]) * (signal[i] - reference[i]);
    }
    return error > 0 ? 10 * std::log10(power / error) : 200;
}

TEST_F(PlayerQueuePlayback, AnAlbumEncodedGaplesslyPlaysAsOneSignal) {
    // Three parts of one signal, each encoded by lame with its delay and padding.
    const RunFiles album = MakeRun("album", ".mp3");
    PlayerProcess player("/p " + RunPlaylist(album));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const Shown shown = FollowUntilStopped(main, "Quavera - album1 (stopped)");
    EXPECT_EQ(shown, (Shown{{"1 ", "album1"}, {"2 ", "album2"}, {"3 ", "album3"}, {"1 ", "album1"}}));
    EXPECT_EQ(ItemText(main, kTotalTime), "0:09min ") << "three times the 3 s of the frames less delay and padding";
    EXPECT_TRUE(player.Close());

    // Every file's own gapless decode, end to end: neither the information
    // frames nor the encoder's delay and padding are heard at the joins.
    Pcm joined;
    for (const Pcm& decode : album.decodes) joined.insert(joined.end(), decode.begin(), decode.end());
    const Pcm capture = ReadPcm(CapturePath(), false);
    EXPECT_EQ(ExpectSoundsAs(capture, joined, {0}), 1);
    // As long as the uncut signal's encoding, and within 50 ms of the joins
    // as close to it as elsewhere (at quality 2 the synthesis itself keeps
    // to 30 dB): no gap, no click.
    const Pcm uncut = ReadPcm(StreamPath("album.wav"), true);
    EXPECT_EQ(joined.size(), uncut.size());
    const double overall = Snr(capture, uncut, 8 * 1152, uncut.size() / 2);
    std::printf("%.1f dB against the uncut signal's encoding after the muted start\n", overall);
    for (const std::size_t join : {3 * 44100u, 6 * 44100u}) {
        const double snr = Snr(capture, uncut, join - 2205, join + 2205);
        std::printf("join at %zu s: %.1f dB\n", join / 44100, snr);
        EXPECT_GE(snr, std::min(overall - 3, 30.0));
    }
}

TEST_F(PlayerQueuePlayback, WithContinuousPlaybackDisabledEachFileOpensOnItsOwn) {
    SetRegInt(kConfigurationKey, "DisableContinuous", 1);
    const RunFiles run = MakeRun();
    PlayerProcess player("/p " + RunPlaylist(run));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const Shown shown = FollowUntilStopped(main, "Quavera - run1 (stopped)");
    EXPECT_EQ(shown, (Shown{{"1 ", "run1"}, {"2 ", "run2"}, {"3 ", "run3"}, {"1 ", "run1"}}));
    EXPECT_TRUE(player.Close());

    // The device may put a little silence between two streams: each file is
    // found in the capture by its audio well after its start.
    const Pcm capture = ReadPcm(CapturePath(), false);
    std::size_t searchFrom = 0;
    for (std::size_t k = 0; k < run.decodes.size(); ++k) {
        SCOPED_TRACE(run.files[k]);
        const Pcm& decode = run.decodes[k];
        const std::size_t probe = 20 * kFrameSamples;
        const auto found = std::search(capture.begin() + static_cast<std::ptrdiff_t>(searchFrom), capture.end(),
                                       decode.begin() + probe, decode.begin() + probe + 1000);
        ASSERT_NE(found, capture.end());
        const auto start = static_cast<std::size_t>(found - capture.begin()) - probe;
        const Pcm heard(capture.begin() + static_cast<std::ptrdiff_t>(start),
                        capture.begin() + static_cast<std::ptrdiff_t>(std::min(capture.size(), start + decode.size())));
        EXPECT_EQ(ExpectSoundsAs(heard, decode, {0}), 1) << "each file starts muted, as a stream of its own";
        searchFrom = start + decode.size();
    }
}

TEST_F(PlayerQueuePlayback, DropsOfFilesAndOfAPlaylistBecomeTheQueue) {
    PlayerProcess player("");
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(player.DropFiles(main, {StreamPath("tone1.mp2"), StreamPath("tone120.mp2")}));
    // The first track is short: the run goes on into the second at once.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; })) << WindowText(main);
    EXPECT_EQ(ItemText(main, kTrackNumber), "2 ");
    EXPECT_EQ(ListBoxLines(main, kTrackList), (std::vector<std::string>{"1. tone1", "2. tone120"}));
    std::string recent;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentFile", &recent));
    EXPECT_EQ(recent, StreamPath("tone1.mp2"));

    const std::string tone = StreamPath("tone120.mp2");
    const std::string list = WriteTempFile("quavera-dropped.m3u", tone + ";X\r\n" + tone + ";Y\r\n");
    ASSERT_TRUE(player.DropFiles(main, {list, StreamPath("tone1.mp2")}));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - X"; })) << WindowText(main);
    EXPECT_EQ(ListBoxLines(main, kTrackList), (std::vector<std::string>{"1. X", "2. Y"}))
        << "a playlist dropped first is the queue; the files after it are not";
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentFile", &recent));
    EXPECT_EQ(recent, list);

    ASSERT_TRUE(player.DropFiles(main, {StreamPath("tone10.mp2")}));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone10"; })) << WindowText(main);
    EXPECT_FALSE(IsShown(main, kTrackList)) << "a queue of one track has no track section";
}

TEST_F(PlayerQueuePlayback, CloseWhenDoneEndsThePlayerWithTheQueue) {
    const std::string tone = StreamPath("tone1.mp2");
    PlayerProcess player("/c /p " + WriteTempFile("quavera-close.m3u", tone + ";A\r\n" + tone + ";B\r\n"));
    EXPECT_TRUE(player.WaitForExit(20000));
}

} // namespace
} // namespace quavera::test
