#pragma once
// Signal-to-error ratio, RMS and peak difference between a decoded signal and
// a reference, at the delay (whole samples) that fits best.
#include <cstddef>

#include "wav_file.h"

namespace quavera {

struct PcmDifference {
    double snrDb = 0;
    double rmsLsb = 0;    // in units of a 16-bit LSB
    double maxAbsLsb = 0;
    long shift = 0;       // test sample i is compared with reference sample i + shift
    std::size_t frames = 0; // sample frames compared
};

// Compares at most length sample frames of test, trying delays -search..search.
PcmDifference comparePcm(const PcmData& test, const PcmData& reference, long search, std::size_t length);

} // namespace quavera
