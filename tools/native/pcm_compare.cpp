#include "pcm_compare.h"

#include <algorithm>
#include <cmath>

namespace quavera {

namespace {

PcmDifference compareAt(const PcmData& test, const PcmData& ref, long shift, std::size_t length) {
    const auto channels = static_cast<std::size_t>(test.channels);
    const std::size_t testFrames = std::min(test.samples.size() / channels, length);
    const std::size_t refFrames = ref.samples.size() / channels;
    PcmDifference r;
    r.shift = shift;
    double signal = 0;
    double error = 0;
    for (std::size_t i = 0; i < testFrames; ++i) {
        const long j = static_cast<long>(i) + shift;
        if (j < 0 || static_cast<std::size_t>(j) >= refFrames) {
            continue;
        }
        for (std::size_t c = 0; c < channels; ++c) {
            const double a = test.samples[i * channels + c];
            const double b = ref.samples[static_cast<std::size_t>(j) * channels + c];
            signal += b * b;
            error += (a - b) * (a - b);
            r.maxAbsLsb = std::max(r.maxAbsLsb, std::fabs(a - b));
        }
        ++r.frames;
    }
    const auto n = static_cast<double>(r.frames * channels);
    r.rmsLsb = n > 0 ? std::sqrt(error / n) : 0;
    r.snrDb = error > 0 ? 10.0 * std::log10(signal / error) : 200.0;
    return r;
}

} // namespace

PcmDifference comparePcm(const PcmData& test, const PcmData& reference, long search, std::size_t length) {
    if (test.channels < 1 || test.channels != reference.channels) {
        return {};
    }
    PcmDifference best = compareAt(test, reference, 0, length);
    for (long shift = -search; shift <= search; ++shift) {
        const PcmDifference r = compareAt(test, reference, shift, length);
        if (r.frames > 0 && (best.frames == 0 || r.snrDb > best.snrDb)) {
            best = r;
        }
    }
    return best;
}

} // namespace quavera
