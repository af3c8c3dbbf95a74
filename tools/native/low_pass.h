#pragma once
// A linear-phase low-pass filter for comparing decodes whose upper band is
// dropped by design: both signals are filtered alike before the comparison.
#include "wav_file.h"

namespace quavera {

// The cutoff at which Layer III decodes are compared: 23/32 of the Nyquist
// frequency, a guard band below the subbands 24 to 31 that are never
// synthesised.
inline constexpr double kLayer3CompareCutoff = 23.0 / 32.0;

// Filters every channel with a windowed-sinc FIR (Blackman window, 511 taps,
// no delay: the output sample i is centred on input sample i).
PcmData lowPass(const PcmData& pcm, double fractionOfNyquist);

} // namespace quavera
