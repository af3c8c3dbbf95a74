#pragma once
// The buffer page's slider: the engine's block ring measured in quarter
// seconds of 44.1 kHz audio (1152 samples a frame).
#include <string>

namespace quavera {

constexpr int kBufferSliderMin = 2;
constexpr int kBufferSliderMax = 16;

// The slider position of a ring of `buffers` blocks of `framesPerBuffer` frames.
int BufferSliderPosition(int buffers, int framesPerBuffer);
// The number of blocks nearest to a slider position, within what the engine
// plays with (4 to 128).
int BuffersForSliderPosition(int position, int framesPerBuffer);
// "0.75 seconds" for position 3.
std::string BufferSizeText(int position);

} // namespace quavera
