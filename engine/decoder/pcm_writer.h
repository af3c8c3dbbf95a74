#pragma once
// Windowing and PCM output of one time slot: the shortened synthesis window
// applied to the V history, rounded, clipped and written in one of four
// sample formats.
#include <cstdint>

namespace quavera {

struct SlotWindow {
    const double* ring[2]; // V history of channels 0 and 1 at the slot's ring offset
    const double* window; // D'
    int firstTap;
    int lastTap;
    // Windows one channel into 32 / divisor rounded, clipped samples.
    void (*apply)(const SlotWindow& slot, int channel, int* out);
};

// Writes one slot (32 / divisor samples per channel); returns the bytes written.
using PcmWriter = int (*)(std::uint8_t* out, const SlotWindow& slot);

// The writer for a divisor of 1, 2 or 4, 1 or 2 channels and 8 or 16 bits;
// null for any other combination.
PcmWriter selectPcmWriter(int divisor, int channels, int bits);

// Window taps kept at quality 1, 2 and 3 (12, 8 and 4 taps).
constexpr int firstTapOf(int quality) { return 2 * quality; }
constexpr int lastTapOf(int quality) { return 15 - 2 * quality; }

// A window sum as the PCM writers store it: single precision, rounded to the
// nearest integer (ties to even), clipped to +-32767.
int toSample(double sum);

// A 16-bit sample as unsigned 8-bit: its high byte with the sign flipped; the
// low byte is dropped, not rounded (255 gives 0x80, -1 gives 0x7F).
std::uint8_t toUnsigned8(int sample);

} // namespace quavera
