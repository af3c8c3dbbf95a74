#include "track_texts.h"

#include <algorithm>
#include <cstdio>

#include "entry_text.h"

namespace quavera {
namespace {

template <typename... Values>
std::string Format(const char* format, Values... values) {
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

constexpr int kShortestPlaybackSeconds = 5;

} // namespace

int FileDurationMs(const StreamStatus* status) {
    if (!status || !(status->totalTime >= 0) || status->totalTime > 2147483647.0f) return -1;
    return static_cast<int>(status->totalTime);
}

std::string DurationText(int ms) { return Format("%d:%.2d", ms / 60000, ms / 1000 % 60); }

DurationView DescribeDurations(int fileMs, int limitMs) {
    if (fileMs < 0) return {false, kNotAvailable, kNotAvailable, kShortestPlaybackSeconds, kShortestPlaybackSeconds, 0};
    const int playbackMs = limitMs > 0 ? std::min(limitMs, fileMs) : fileMs;
    return {true, DurationText(fileMs), DurationText(playbackMs), kShortestPlaybackSeconds, fileMs / 1000,
            playbackMs / 1000};
}

std::string VolumePresetText(const std::string& entry) { return Format("%u", EntryVolumePreset(entry)); }

std::array<std::string, 6> StatisticsTexts(const StreamStatus* status) {
    if (!status) return {kNotAvailable, kNotAvailable, kNotAvailable, kNotAvailable, kNotAvailable, kNotAvailable};
    return {
        Format("MPEG %d Audio Layer %s", status->mpegVersion, status->layer == 2 ? "II" : "III"),
        Format("%4.1fkHz", status->streamRate * 0.001),
        status->streamChannels == 1 ? "Mono" : "Stereo",
        Format("%dkBit/sec", status->bitratePerChannel * status->streamChannels),
        Format("1:%5.2f", static_cast<double>(status->compressionRatio)),
        status->description[0] != '\0' ? std::string(status->description, strnlen(status->description, sizeof status->description)) : "---",
    };
}

} // namespace quavera
