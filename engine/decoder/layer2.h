#pragma once
// Layer II frames: allocation, scale-factor selection, scale factors and
// grouped or plain samples, requantised into the subband buffer.
#include <array>

#include "layer2_tables.h"
#include "layer_decoder.h"
#include "standard_tables.h"

namespace quavera {

class Layer2Decoder final : public LayerDecoder {
public:
    std::string setup(FrameHeader first) override;
    void reset() override;
    std::uint32_t decodeFrame(FrameContext& context, std::uint8_t* out) override;

    // The allocation table chosen at set-up.
    const tables::AllocTable* allocTable() const { return table_; }

private:
    // How the samples of one subband of one channel are read and requantised
    // in the current frame (looked up once per frame, used twelve times).
    struct Quantizer {
        const std::array<std::uint8_t, 3>* degroup = nullptr; // grouped classes only
        unsigned bits = 0;                                     // bits of one codeword
        unsigned shift = 0;                                    // places a value in the top bits of 16
        float d = 0;                                           // 32768 D
        float c = 0;                                           // C / 32768
    };

    // A subband read in the current frame, in the order of the samples in
    // the frame: its quantizer and where its samples go with which scale
    // factors (both channels for a subband above the joint-stereo bound).
    struct CodedSubband {
        const Quantizer* quantizer;
        int outputs;
        float* out[2];            // slot 0 of the subband in each channel
        const float* scale[2];    // the three parts' scale factors
    };

    void readFrame(BitReader& reader, FrameHeader header, Synthesis& synthesis);
    // Reads the three values of one granule of a subband at bit position pos
    // of base and requantises them without scale factor.
    static void readGranule(const std::uint8_t* base, std::uint64_t& pos, const Quantizer& q, float* values);

    const tables::AllocTable* table_ = nullptr;
    std::array<std::array<Quantizer, 32>, 2> quantizer_{};
    std::array<std::array<int, 32>, 2> allocation_{};
    std::array<std::array<std::uint8_t, 32>, 2> scfsi_{};
    std::array<std::array<std::array<float, 3>, 32>, 2> scale_{};
    std::array<CodedSubband, 64> coded_{};
};

// The allocation table for a per-channel bitrate (kbit/s) and sampling
// frequency, or null when Layer II does not allow the combination.
const tables::AllocTable* chooseAllocTable(int mpegVersion, int bitratePerChannel, int samplingFrequency);

} // namespace quavera
