#include "buffer_size.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quavera {
namespace {

// One frame of 1152 samples at 44100 Hz, in seconds.
constexpr double kFrameSeconds = 0.026122448979591838;
constexpr int kSamplesPerQuarterFrame = 4608; // 1152 samples x 4 quarters
constexpr int kRate = 44100;
constexpr int kFewestBuffers = 4;
constexpr int kMostBuffers = 128;
// Far beyond any real ring; keeps stored nonsense from overflowing.
constexpr double kLargestPosition = 1e6;

} // namespace

int BufferSliderPosition(int buffers, int framesPerBuffer) {
    const double quarters = static_cast<double>(buffers) * framesPerBuffer * 4 * kFrameSeconds;
    return static_cast<int>(std::lround(std::clamp(quarters, 0.0, kLargestPosition)));
}

int BuffersForSliderPosition(int position, int framesPerBuffer) {
    const double frames = std::max(framesPerBuffer, 1);
    const double buffers = static_cast<double>(position) * kRate / (frames * kSamplesPerQuarterFrame);
    return std::clamp(static_cast<int>(std::lround(std::clamp(buffers, 0.0, kLargestPosition))), kFewestBuffers,
                      kMostBuffers);
}

std::string BufferSizeText(int position) {
    char text[32];
    std::snprintf(text, sizeof text, "%4.2f seconds", position * 0.25);
    return text;
}

} // namespace quavera
