#pragma once
// The nine playback settings, stored as REG_DWORD values in the engine's
// registry key (HKEY_CURRENT_USER\Software\<location>).
#include <string>

namespace quavera {

struct PlaybackConfiguration {
    int frequencyDivisor = 1;
    int quality = 2;
    int channels = 2;
    int bitsPerSample = 16;
    int buffers = 14;
    int framesPerBuffer = 2;
    int playbackMethode = 1;
    int waveOutDevice = -1; // the system's default device
};

class ConfigurationStore {
public:
    static constexpr const char* kDefaultLocation = "Brixlane\\Quavera\\Playback\\Configuration";

    // Texts longer than 255 characters are cut; null keeps the current location.
    void setLocation(const char* location);
    const char* location() const { return location_.c_str(); }

    // Missing values, and values of the wrong type or size, read as their defaults.
    PlaybackConfiguration read() const;
    // Also writes the key's default text and turns the performance check on.
    void write(const PlaybackConfiguration& configuration) const;

    bool performanceCheckEnabled() const;
    void disablePerformanceCheck() const;

private:
    std::string location_ = kDefaultLocation;
};

// The first setting that would make an open fail, as the text to show, or an
// empty text when all are usable. The method is checked first; an illegal
// method is reported without its value.
std::string ValidateConfiguration(const PlaybackConfiguration& configuration);

} // namespace quavera
