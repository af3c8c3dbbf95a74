#pragma once
// The 20 bits that follow the 12-bit sync word, split into their fields, and
// the stream parameters derived from them.
#include <cstdint>

namespace quavera {

struct FrameHeader {
    std::uint32_t bits = 0; // bits 19..0 of the header word

    static FrameHeader fromWord(std::uint32_t word) { return FrameHeader{word & 0xFFFFFu}; }

    // Keeps ID, layer, sampling frequency, private bit, copyright, original and
    // emphasis: the fields every frame of one stream shares.
    static constexpr std::uint32_t kStreamMask = 0xE0D0Fu;
    std::uint32_t streamBits() const { return bits & kStreamMask; }

    int id() const { return static_cast<int>(bits >> 19 & 1); }
    int layerField() const { return static_cast<int>(bits >> 17 & 3); }
    bool hasCrc() const { return (bits >> 16 & 1) == 0; }
    int bitrateIndex() const { return static_cast<int>(bits >> 12 & 15); }
    int frequencyIndex() const { return static_cast<int>(bits >> 10 & 3); }
    int mode() const { return static_cast<int>(bits >> 6 & 3); }
    int modeExtension() const { return static_cast<int>(bits >> 4 & 3); }

    // 2 or 3 for the layers decoded here, 1 for Layer I, 0 for the reserved value.
    int layer() const { return layerField() == 0 ? 0 : 4 - layerField(); }
    int mpegVersion() const { return id() == 1 ? 1 : 2; }
    int channels() const { return mode() == 3 ? 1 : 2; }
    // 0 for free format and for the forbidden index 15.
    int bitrateKbps() const;
    int bitratePerChannel() const { return bitrateKbps() / channels(); }
    // 0 for the reserved index.
    int samplingFrequency() const;
    bool padded() const { return (bits >> 9 & 1) != 0; }
    // Length of this Layer II or III frame in bytes, header and padding
    // included; 0 when the header gives none (free format, forbidden bitrate).
    int frameBytes() const;
};

// Why a header cannot start a stream of a supported layer, or null.
const char* headerRefusal(FrameHeader header);

// Frame size estimate in bytes (one more than the average frame), and its
// untruncated form used for frame numbers and counts.
struct FrameSize {
    int bytes = 0;
    double exact = 0;
};
FrameSize frameSizeOf(int streamChannels, int bitratePerChannel, int samplingFrequency);

} // namespace quavera

namespace quavera {

struct OutputConfig;
struct StreamInfo;

// Every stream parameter that follows from the first header, the output
// configuration and the byte count of the audio (input length less any
// leading tag). fileLength and fileName are the caller's.
void describeStream(FrameHeader header, const OutputConfig& config, std::int64_t audioBytes, StreamInfo& info);

} // namespace quavera
