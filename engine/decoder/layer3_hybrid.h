#pragma once
// The Layer III hybrid filterbank of one granule and channel: reordering of
// short blocks, alias reduction, IMDCT with the block type's window and
// overlap-add into the subband samples of the polyphase synthesis.
#include <algorithm>
#include <array>

#include "kernels.h"
#include "layer3_scalefactors.h"
#include "layer3_sideinfo.h"

namespace quavera {

class HybridFilter {
public:
    // Subbands whose output is computed; the synthesis never gets content above.
    static constexpr int kSubbands = 24;

    explicit HybridFilter(Simd simd = Simd::Automatic) : imdctLong_(kernelSet(simd).imdctLong) {}
    void reset();
    // xr: the channel's 576 spectral values after stereo processing (changed
    // in place); nonzero: lines that may be non-zero. Writes 18 time slots
    // from slot on into the slot-major subband samples.
    void process(int channel, float* xr, unsigned nonzero, const GranuleInfo& g, const BandLayout& bands,
                 float* subbands, int slot);

    std::array<float, 18> overlap(int channel, int subband) const {
        std::array<float, 18> values;
        std::copy_n(overlap_[channel][subband].begin(), values.size(), values.begin());
        return values;
    }

private:
    ImdctKernel imdctLong_;
    // 18 values per subband, padded for the kernels (the padding stays zero).
    std::array<std::array<std::array<float, kImdctLanes>, kSubbands>, 2> overlap_{};
};

} // namespace quavera
