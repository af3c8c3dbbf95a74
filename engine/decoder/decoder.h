#pragma once
// Public face of the portable decoder core: one Decoder owns a bit-stream
// context bound to an InputSource, opens a stream (sync search, header, layer
// set-up, PCM writer choice) and decodes one frame of PCM per call straight
// into the caller's block. No Windows headers here: the engine library, the
// native tools and the native tests all use this same code.
#include <cstddef>
#include <cstdint>
#include <string>

#include "info_frame.h"
#include "input_source.h"
#include "kernels.h"

namespace quavera {

// The four configuration values that shape the PCM output.
struct OutputConfig {
    int frequencyDivisor = 1; // 1, 2 or 4
    int quality = 2;          // 1 best, 2 better, 3 good
    int channels = 2;         // 1 or 2 (a single-channel stream always gives 1)
    int bitsPerSample = 16;   // 8 or 16
};

// The stream record filled by a successful open (and by a header-only analysis).
struct StreamInfo {
    int frequencyDivisor = 0;
    int quality = 0;
    int outputChannels = 0;
    int streamChannels = 0;
    int bitsPerSample = 0;
    int outputRate = 0;
    int samplingFrequency = 0;
    int sourceBitsPerSample = 0; // always 16
    int layer = 0;               // 2 or 3
    int mpegVersion = 0;         // 1 or 2
    int pcmBlockSize = 0;        // bytes of PCM one decoded frame writes
    int samplesPerFrame = 0;     // 1152
    int bitratePerChannel = 0;   // kbit/s
    float compressionRatio = 0;
    float totalTime = 0; // ms, -1 when it computes to 0
    std::int32_t fileLength = 0;
    std::string fileName;
};

class Decoder {
public:
    // bufferSize: the context's buffer without its 1024 slack bytes; simd:
    // the kernels' instruction set (the widest the processor has, unless a
    // tool compares them).
    explicit Decoder(std::size_t bufferSize = 16384, std::size_t threshold = 1152, Simd simd = Simd::Automatic);
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // Bit-stream context operations (0/false on failure, as the reader reports).
    bool bind(InputSource* source); // keeps the bound one when it is the same
    InputSource* source() const;
    bool openInput(const char* name);
    bool closeInput();
    std::int32_t tell() const;

    // The source seeks cheaply (a local file, not a network stream): the
    // tags at the end are looked for at open, and a seek in a stream with an
    // information frame walks the frames to reach the exact one. On by default.
    void setRandomAccess(bool on);
    // Cuts the encoder's delay and padding, when the information frame gives
    // them, out of the PCM (from the next open on). Off by default: every
    // decoded sample is written.
    void setGapless(bool on);

    // Stream open from the start of the input. On failure the last-error text
    // says why (it may also stay as it was when the input simply had no bytes).
    bool openStream(const OutputConfig& config);
    // Header-only twin for stream queries: no decoder set-up, no PCM checks.
    bool analyseStream(StreamInfo& info);

    const StreamInfo& info() const;

    // Decodes one frame into out (info().pcmBlockSize bytes). Returns the frame
    // counter, or 0 at the end of the stream (nothing written then).
    std::uint32_t decodeFrame(std::uint8_t* out);
    // Bytes of PCM the last decoded frame left at out: pcmBlockSize, or less
    // where gapless trimming cut the encoder's delay or padding (never 0:
    // frames cut whole are passed over).
    std::size_t lastFrameBytes() const;
    // The current file's information frame, when it is trusted; it is not
    // decoded as audio.
    const InfoFrame* infoFrame() const;

    // Asks for a jump to ms before the next frame; false while one is pending.
    bool requestSeek(std::uint32_t ms);
    // True when the list reader has moved on to its next file since the last
    // call (the boundary was crossed by the decoder); clears the flag.
    bool takeFileChange();
    // Bitrate per channel (kbit/s) of the current file (its first header's,
    // or a VBR file's average) and its total time in ms (as StreamInfo's),
    // for the status record after a list moved on.
    int currentBitratePerChannel() const;
    float currentTotalTime() const;

    // Frame counter: the number the next decoded frame returns. Set at open
    // and by a seek from the byte position; the engine may set it itself.
    std::uint32_t frameNumber() const;
    void setFrameNumber(std::uint32_t frame);
    // Frames in the current file (audio bytes / frame-size estimate).
    std::uint32_t totalFrames() const;
    // Milliseconds of audio per frame at the stream's own rate.
    double msPerFrame() const;
    // Bytes of an ID3v2 tag skipped before the audio; seek offsets and the
    // total time count from its end.
    std::int32_t audioStart() const;
    bool seekPending() const;

    const char* lastError() const;
    void setLastError(const std::string& text);

private:
    struct State;
    State* state_;
};

} // namespace quavera
