#pragma once
// Minimal RIFF WAVE (PCM) writing and reading for the native tools.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quavera {

class WavWriter {
public:
    WavWriter(std::FILE* file, int rate, int channels, int bits);
    void write(const std::uint8_t* data, std::size_t bytes);
    // Fills in the sizes when the file can seek back (not for a pipe or /dev/null).
    void finish();

private:
    void header(std::uint32_t dataBytes);
    std::FILE* file_;
    int rate_;
    int channels_;
    int bits_;
    std::uint32_t dataBytes_ = 0;
};

struct PcmData {
    int rate = 0;
    int channels = 0;
    std::vector<double> samples; // interleaved, in units of a 16-bit LSB
};

// Reads a 16- or 24-bit PCM WAVE file, or raw 16-bit little-endian PCM when
// the file has no RIFF header (rate unknown, channels as given).
bool readPcm(const std::string& path, int rawChannels, PcmData& pcm);

} // namespace quavera
