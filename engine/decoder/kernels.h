#pragma once
// The filterbanks' hot loops behind one narrow seam: a plain build that runs
// everywhere and, on x86, AVX2 and AVX-512 builds of the same source chosen
// at run time when the processor has them. All give the same output bits.
#include <cstdint>

namespace quavera {

enum class Simd { Automatic, Plain, Avx2, Avx512 };

// The V history of the synthesis: per channel one block of V entries per
// time slot for the last 16 slots. A block holds the entries whose index is
// a multiple of the divisor (64, 32 or 16 of them). Every block is kept
// twice, at b and b + 16, so that the 16 blocks from the newest on lie in a
// row and the windowing never wraps.
struct SynthesisHistory {
    alignas(64) double blocks[2][32][64];
    int newest; // block of the latest slot, 0..15
};

// What one frame's synthesis reads and writes.
struct FrameJob {
    const float* subbands[2]; // slot-major, 36 slots of 32 per channel
    int firstTap;
    int lastTap;
    std::uint8_t* out;
};

// Synthesises the 36 slots of a frame and writes their PCM.
using FrameKernel = void (*)(SynthesisHistory& history, const FrameJob& job);

// The IMDCT's 18 sums and each half of its 36 outputs are padded to 24
// lanes, whole vectors of every width.
constexpr int kImdctLanes = 24;

// The tables of the Layer III long-block IMDCT, widened for the kernels:
// cos(pi / 72 (2 j + 1)(2 k + 1)) in single precision by input k and sum j,
// and the window factors of each block type in single precision, outputs
// 0..17 in lanes 0..17 and outputs 18..35 in lanes 24..41 (type 2 unused).
// Padding lanes are zero.
struct ImdctTables {
    alignas(64) double cosines[18][kImdctLanes];
    alignas(64) double windows[4][2 * kImdctLanes];
};

// The long-block IMDCT of one subband: inputs 0..8 or 9..17 may be known to
// be zero; windows by block type, adds the overlap into out and keeps the
// second half as the new overlap. Both out and overlap hold kImdctLanes
// floats, of which 18 count (the padding stays zero in the overlap).
using ImdctKernel = void (*)(const ImdctTables& tables, int blockType, const float* in, bool lowZero, bool highZero,
                             float* overlap, float* out);

struct KernelSet {
    // By divisor index (1, 2, 4), output channels - 1 and width (8, 16 bits).
    FrameKernel frame[3][2][2];
    ImdctKernel imdctLong;
};

// Whether this build and this processor can run the kernels of a choice.
bool simdAvailable(Simd choice);
// The kernels of a choice; Automatic picks the widest available.
const KernelSet& kernelSet(Simd choice);
// The widest choice this processor runs.
Simd widestSimd();

// The cutoff as the kernels apply it: the number of subbands the matrixing
// uses for a slot, the highest even index whose sample or odd neighbour is
// at least 2^-13 in magnitude (tested on the bit pattern), plus 2; at least 2.
int activeSubbands(const float* s, int divisor);
// A window sum as the kernels store it: rounded to single precision, then to
// the nearest integer (ties to even), clipped to +-32767.
int toSample(double sum);
// A 16-bit sample as the 8-bit kernels store it: its high byte with the sign
// flipped; the low byte is dropped, not rounded (255 gives 0x80, -1 0x7F).
std::uint8_t toUnsigned8(int sample);

} // namespace quavera
