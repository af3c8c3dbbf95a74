// New playback settings applied while a track plays: the engine restarts in
// the new format where it was. The track is noise, so each stretch of the
// captured audio is found at one place of a reference decode.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "command_spy.h"
#include "player_driver.h"
#include "property_sheets.h"

namespace quavera::test {
namespace {

// One block of the engine's ring: two frames of 1152 samples at 44.1 kHz.
constexpr double kBlockMs = 2 * 1152 * 1000 / 44100.0;

// Reads the capture file while it grows, from the next device open on. Every
// device open truncates it and starts a new segment.
class CaptureRecorder {
public:
    CaptureRecorder() : path_(ForgetCapture()), thread_([this] { Run(); }) {}
    ~CaptureRecorder() {
        stop_ = true;
        thread_.join();
    }
    CaptureRecorder(const CaptureRecorder&) = delete;
    CaptureRecorder& operator=(const CaptureRecorder&) = delete;

    std::vector<std::vector<short>> Segments() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return segments_;
    }

private:
    // What an earlier test left is not this test's audio.
    static std::string ForgetCapture() {
        const std::string path = CapturePath();
        DeleteFileA(path.c_str());
        return path;
    }

    void Run() {
        LONGLONG offset = 0;
        std::vector<char> bytes;
        while (!stop_) {
            Sleep(1);
            const HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) continue;
            LARGE_INTEGER size{};
            GetFileSizeEx(file, &size);
            const std::lock_guard<std::mutex> lock(mutex_);
            if (segments_.empty() || size.QuadPart < offset) {
                segments_.emplace_back();
                offset = 0;
            }
            const LONGLONG whole = size.QuadPart & ~LONGLONG{1};
            if (whole > offset) {
                bytes.resize(static_cast<std::size_t>(whole - offset));
                LARGE_INTEGER at{};
                at.QuadPart = offset;
                DWORD read = 0;
                SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
                ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
                read &= ~DWORD{1};
                const auto* samples = reinterpret_cast<const short*>(bytes.data());
                segments_.back().insert(segments_.back().end(), samples, samples + read / 2);
                offset += read;
            }
            CloseHandle(file);
        }
    }

    const std::string path_;
    std::mutex mutex_;
    std::vector<std::vector<short>> segments_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

struct Format {
    int rate;
    int channels;
};

// The reference decode (mono, 44.1 kHz) at a lower rate: the mean of each
// pair or group of four samples, enough for noise below 4 kHz.
std::vector<float> Reference(int divisor) {
    std::vector<float> samples;
    FILE* file = std::fopen(StreamPath("noise60.raw").c_str(), "rb");
    if (!file) return samples;
    std::vector<short> raw(60 * 44100 + 44100);
    raw.resize(std::fread(raw.data(), sizeof(short), raw.size(), file));
    std::fclose(file);
    for (std::size_t i = 0; i + divisor <= raw.size(); i += static_cast<std::size_t>(divisor)) {
        float sum = 0;
        for (int k = 0; k < divisor; ++k) sum += raw[i + static_cast<std::size_t>(k)];
        samples.push_back(sum / static_cast<float>(divisor));
    }
    return samples;
}

struct Match {
    long offset;        // where the chunk lies in the reference, in samples
    double correlation; // normalised, 1 for the same audio
};

// The best place for chunk within [from, to) of the reference.
Match Find(const std::vector<float>& chunk, const std::vector<float>& reference, long from, long to) {
    Match best{-1, -2};
    double chunkEnergy = 0;
    for (const float x : chunk) chunkEnergy += static_cast<double>(x) * x;
    const long n = static_cast<long>(chunk.size());
    for (long at = std::max(0L, from); at < to && at + n <= static_cast<long>(reference.size()); ++at) {
        double product = 0;
        double energy = 0;
        for (long k = 0; k < n; ++k) {
            const double r = reference[static_cast<std::size_t>(at + k)];
            product += r * chunk[static_cast<std::size_t>(k)];
            energy += r * r;
        }
        const double correlation = product / std::sqrt(chunkEnergy * energy + 1e-9);
        if (correlation > best.correlation) best = {at, correlation};
    }
    return best;
}

// A segment's place in the stream: the stream time of its first sample,
// found from a chunk at its start and from one at its end (they agree when
// the segment plays continuously at the rate assumed).
struct Placement {
    double headMs;
    double tailMs;
    double correlation;
};

Placement Place(const std::vector<short>& segment, const Format& format, double expectedMs) {
    std::vector<float> samples;
    for (std::size_t i = 0; i < segment.size(); i += static_cast<std::size_t>(format.channels))
        samples.push_back(segment[i]);
    const auto loud = [](float x) { return std::abs(x) > 1000; };
    const auto first = static_cast<long>(std::find_if(samples.begin(), samples.end(), loud) - samples.begin());
    const auto last = static_cast<long>(samples.rend() - std::find_if(samples.rbegin(), samples.rend(), loud));
    const long chunk = format.rate / 10;
    const long margin = format.rate / 20;
    if (last - first < 2 * (chunk + margin)) return {NAN, NAN, 0};
    const std::vector<float> reference = Reference(44100 / format.rate);
    const auto place = [&](long at) {
        const std::vector<float> part(samples.begin() + at, samples.begin() + at + chunk);
        const long expected = static_cast<long>(expectedMs * format.rate / 1000) + at;
        const Match match = Find(part, reference, expected - format.rate / 2, expected + format.rate / 2);
        return std::pair{(match.offset - at) * 1000.0 / format.rate, match.correlation};
    };
    const auto [headMs, headCorrelation] = place(first + margin);
    const auto [tailMs, tailCorrelation] = place(last - margin - chunk);
    return {headMs, tailMs, std::min(headCorrelation, tailCorrelation)};
}

class PlaybackRestart : public CaptureTest {
protected:
    // The player playing the noise, with this much audio captured.
    HWND StartPlaying(PlayerProcess& player, CaptureRecorder& capture) {
        const HWND main = player.WaitForMainWindow();
        if (!main || !WaitUntil([&] { return WindowText(main) == "Quavera - noise60"; }, 5000) ||
            !AudioOf(capture, 0, 2 * 44100 * 2))
            return nullptr;
        return main;
    }

    static bool AudioOf(CaptureRecorder& capture, std::size_t segment, std::size_t samples) {
        return WaitUntil([&] {
            const auto segments = capture.Segments();
            return segments.size() > segment && segments[segment].size() >= samples;
        });
    }
};

TEST_F(PlaybackRestart, NewRateQualityAndChannelsWhilePlayingContinueWhereThePlaybackWas) {
    CaptureRecorder capture;
    PlayerProcess player("/p " + StreamPath("noise60.mp2"));
    const HWND main = StartPlaying(player, capture);
    ASSERT_NE(main, nullptr);
    CommandSpy spy(main);
    ASSERT_TRUE(spy.active());

    // Rate and quality on one page, then the channels on another: two
    // restarts, each with its own device.
    Click(main, kPropertiesButton);
    const HWND sheet = player.WaitForBox(kSettingsCaption);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, kPlaybackModePage);
    Click(page, kRatio2);
    Click(page, kGood);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(page, kGood) && IsChecked(page, kRatio2); }, 2000));
    Click(sheet, kApplyNow);
    ASSERT_TRUE(AudioOf(capture, 1, 2 * 22050 * 2));
    EXPECT_TRUE(WaitUntil([&] { return ItemText(main, kPlaybackParameters) == "22050Hz 16Bit stereo - good quality"; },
                          2000))
        << ItemText(main, kPlaybackParameters);

    page = ShowPage(sheet, kAudioDevicePage);
    Click(page, kMono);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(page, kMono); }, 2000));
    Click(sheet, IDOK);
    ASSERT_TRUE(AudioOf(capture, 2, 2 * 22050));
    EXPECT_TRUE(WaitUntil([&] { return ItemText(main, kPlaybackParameters) == "22050Hz 16Bit mono - good quality"; },
                          2000))
        << ItemText(main, kPlaybackParameters);
    EXPECT_EQ(WindowText(main), "Quavera - noise60") << "still playing";

    const auto segments = capture.Segments();
    const auto commands = spy.Entries();
    ASSERT_EQ(segments.size(), 3u) << "one device for the track and one for each restart";
    ASSERT_EQ(commands.size(), 2u);
    const Format formats[] = {{44100, 2}, {22050, 2}, {22050, 1}};
    const double restartsMs[] = {0, commands[0].positionMs, commands[1].positionMs};
    for (std::size_t i = 0; i < segments.size(); ++i) {
        SCOPED_TRACE("segment " + std::to_string(i) + ", from " + std::to_string(restartsMs[i]) + " ms");
        if (i > 0) {
            EXPECT_EQ(commands[i - 1].command, kRestart);
        }
        const Placement placement = Place(segments[i], formats[i], restartsMs[i]);
        EXPECT_GT(placement.correlation, 0.9) << "the audio is the track's, at " << formats[i].rate << " Hz";
        EXPECT_NEAR(placement.headMs, placement.tailMs, 0.1) << "played without a gap in its format";
        EXPECT_NEAR(placement.headMs, restartsMs[i], kBlockMs) << "continues where the engine was";
    }
}

TEST_F(PlaybackRestart, PausedTrackStaysPausedInItsNewFormat) {
    CaptureRecorder capture;
    PlayerProcess player("/p " + StreamPath("noise60.mp2"));
    const HWND main = StartPlaying(player, capture);
    ASSERT_NE(main, nullptr);
    Click(main, kPause);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - noise60 (paused)"; }, 3000));
    const int pausedAt = TimeTextSeconds(ItemText(main, kTrackTime));

    Click(main, kPropertiesButton);
    const HWND sheet = player.WaitForBox(kSettingsCaption);
    ASSERT_NE(sheet, nullptr);
    const HWND page = ShowPage(sheet, kPlaybackModePage);
    Click(page, kRatio2);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(page, kRatio2); }, 2000));
    Click(sheet, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return ItemText(main, kPlaybackParameters) == "22050Hz 16Bit stereo - better quality"; },
                          3000))
        << ItemText(main, kPlaybackParameters);
    // Playing on, the capturing device would take seconds of audio by now.
    Sleep(1500);
    EXPECT_EQ(WindowText(main), "Quavera - noise60 (paused)");
    EXPECT_TRUE(IsChecked(main, kPause));
    EXPECT_LE(TimeTextSeconds(ItemText(main, kTrackTime)), pausedAt + 1);
    const auto segments = capture.Segments();
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_LE(segments[1].size(), 14u * 2 * 576 * 2) << "no more than the ring it started with";

    PostCommand(main, kPlay);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - noise60"; }, 3000));
    EXPECT_TRUE(AudioOf(capture, 1, 2 * 22050 * 2)) << "plays on in the new format";
}

} // namespace
} // namespace quavera::test
