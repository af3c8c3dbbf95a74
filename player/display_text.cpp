#include "display_text.h"

#include <cstdio>

namespace quavera {
namespace {

constexpr unsigned kMsPerMinute = 60000;

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

const char* ChannelWord(unsigned channels) { return channels > 1 ? "stereo" : "mono"; }

const char* QualityWord(unsigned quality) {
    switch (quality) {
    case 1: return "best";
    case 2: return "better";
    default: return "good";
    }
}

const char* LayerName(unsigned layer) {
    switch (layer) {
    case 1: return "I";
    case 2: return "II";
    case 3: return "III";
    default: return "unkown";
    }
}

} // namespace

std::string FormatTrackTime(TimeMode mode, unsigned positionMs, unsigned lengthMs) {
    if (mode == TimeMode::Elapsed)
        return Format(" %u:%.2umin ", positionMs / kMsPerMinute, positionMs / 1000 % 60);
    const unsigned left = positionMs < lengthMs ? lengthMs - positionMs : 0;
    return Format("-%u:%.2umin ", left / kMsPerMinute, left / 1000 % 60);
}

std::string FormatSliderTime(unsigned ms) {
    return Format("%d:%.2dmin", static_cast<int>(ms / kMsPerMinute), static_cast<int>(ms / 1000 % 60));
}

std::string CaptionText(PlayState state, const std::string& name) {
    switch (state) {
    case PlayState::Playing: return "Quavera - " + name;
    case PlayState::Paused: return "Quavera - " + name + " (paused)";
    case PlayState::Stopped: break;
    }
    return name.empty() ? std::string("Quavera") : "Quavera - " + name + " (stopped)";
}

std::string TrackNameText(const char* name, const char* description) {
    std::string text = name;
    if (*description) text.append(" [").append(description).append("]");
    return text;
}

std::string PlaybackParameterText(const StreamStatus& status) {
    return Format("%dHz %dBit %s - %s quality", status.outputRate, status.bitsPerSample,
                  ChannelWord(status.outputChannels), QualityWord(status.quality));
}

std::string SourceParameterText(const StreamStatus& status) {
    const std::string bitrate =
        status.bitratePerChannel == 0
            ? std::string("variable")
            : Format("%dkBit/s", status.bitratePerChannel * status.streamChannels);
    return Format("MPEG %d Audio Layer %s\n%dHz 16Bit %s - Bitrate %s - Packratio 1/%.2f", status.mpegVersion,
                  LayerName(status.layer), status.streamRate, ChannelWord(status.streamChannels),
                  bitrate.c_str(), static_cast<double>(status.compressionRatio));
}

} // namespace quavera
