#include "configuration.h"

#include <cstdio>

#include "winbasic.h"

namespace quavera {
namespace {

constexpr std::size_t kMaxLocation = 255;

struct Field {
    const char* name;
    int PlaybackConfiguration::*member;
};

// Registry names in the order of the interface's eight arguments.
constexpr Field kFields[] = {
    {"FrequencyDivisor", &PlaybackConfiguration::frequencyDivisor},
    {"Quality", &PlaybackConfiguration::quality},
    {"Channels", &PlaybackConfiguration::channels},
    {"BitsPerSample", &PlaybackConfiguration::bitsPerSample},
    {"Buffers", &PlaybackConfiguration::buffers},
    {"FramesPerBuffer", &PlaybackConfiguration::framesPerBuffer},
    {"PlaybackMethode", &PlaybackConfiguration::playbackMethode},
    {"WaveOutDevice", &PlaybackConfiguration::waveOutDevice},
};

constexpr const char* kPerformanceCheck = "CheckSystemPerformance";

std::string Illegal(int value, const char* name) {
    char text[96];
    std::snprintf(text, sizeof text, "Illegal playback configuration: %d %s", value, name);
    return text;
}

} // namespace

void ConfigurationStore::setLocation(const char* location) {
    if (!location) return;
    location_.assign(location, strnlen(location, kMaxLocation));
}

PlaybackConfiguration ConfigurationStore::read() const {
    PlaybackConfiguration configuration;
    for (const Field& field : kFields) ReadRegInt(location(), field.name, &(configuration.*field.member));
    return configuration;
}

void ConfigurationStore::write(const PlaybackConfiguration& configuration) const {
    WriteRegString(location(), "", "Configuration for Quavera MPEG-audio player");
    for (const Field& field : kFields)
        WriteRegInt(location(), field.name, static_cast<DWORD>(configuration.*field.member));
    WriteRegInt(location(), kPerformanceCheck, 1);
}

bool ConfigurationStore::performanceCheckEnabled() const {
    int enabled = 1;
    ReadRegInt(location(), kPerformanceCheck, &enabled);
    return enabled != 0;
}

void ConfigurationStore::disablePerformanceCheck() const {
    WriteRegInt(location(), kPerformanceCheck, 0);
}

std::string ValidateConfiguration(const PlaybackConfiguration& c) {
    if (c.playbackMethode < 1 || c.playbackMethode > 3) return "Illegal playback methode selected!";
    if (c.frequencyDivisor != 1 && c.frequencyDivisor != 2 && c.frequencyDivisor != 4)
        return Illegal(c.frequencyDivisor, "FrequencyDivisor");
    if (c.quality < 1 || c.quality > 3) return Illegal(c.quality, "Quality");
    if (c.channels < 1 || c.channels > 2) return Illegal(c.channels, "Channels");
    if (c.bitsPerSample != 8 && c.bitsPerSample != 16) return Illegal(c.bitsPerSample, "BitsPerSample");
    if (c.buffers < 4 || c.buffers > 128) return Illegal(c.buffers, "Buffers");
    if (c.framesPerBuffer < 1 || c.framesPerBuffer > 16)
        return Illegal(c.framesPerBuffer, "FramesPerBuffer");
    return {};
}

} // namespace quavera
