#include "low_pass.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quavera {

PcmData lowPass(const PcmData& pcm, double fractionOfNyquist) {
    constexpr int kHalf = 255;
    constexpr double kPi = 3.14159265358979323846;
    std::vector<double> taps(2 * kHalf + 1);
    double sum = 0;
    for (int n = -kHalf; n <= kHalf; ++n) {
        const double x = kPi * fractionOfNyquist * n;
        const double sinc = n == 0 ? 1.0 : std::sin(x) / x;
        const double w = 0.42 + 0.5 * std::cos(kPi * n / (kHalf + 1)) + 0.08 * std::cos(2 * kPi * n / (kHalf + 1));
        taps[static_cast<std::size_t>(n + kHalf)] = sinc * w;
        sum += sinc * w;
    }
    for (double& t : taps) {
        t /= sum;
    }
    PcmData out = pcm;
    const auto channels = static_cast<std::size_t>(pcm.channels);
    if (channels == 0) {
        return out;
    }
    const auto frames = static_cast<long>(pcm.samples.size() / channels);
    for (std::size_t c = 0; c < channels; ++c) {
        for (long i = 0; i < frames; ++i) {
            double acc = 0;
            const long first = std::max(-static_cast<long>(kHalf), -i);
            const long last = std::min(static_cast<long>(kHalf), frames - 1 - i);
            for (long n = first; n <= last; ++n) {
                acc += taps[static_cast<std::size_t>(n + kHalf)] *
                       pcm.samples[static_cast<std::size_t>(i + n) * channels + c];
            }
            out.samples[static_cast<std::size_t>(i) * channels + c] = acc;
        }
    }
    return out;
}

} // namespace quavera
