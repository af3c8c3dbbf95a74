#include "pcm_writer.h"

#include <cmath>

namespace quavera {

namespace {

// Sums over taps in ascending order, all outputs side by side so that the
// loop over outputs vectorises without reordering any sum.
template <int R>
void windowChannel(const SlotWindow& slot, int channel, int* out) {
    constexpr int kOut = 32 / R;
    double acc[kOut] = {};
    for (int i = slot.firstTap; i <= slot.lastTap; ++i) {
        const float* d = slot.window + 32 * i;
        const float* v = slot.ring[channel] + 32 * i + 64 * ((i + 1) / 2);
        for (int n = 0; n < kOut; ++n) {
            acc[n] += static_cast<double>(d[n * R]) * static_cast<double>(v[n * R]);
        }
    }
    for (int n = 0; n < kOut; ++n) {
        out[n] = toSample(acc[n]);
    }
}

void put16(std::uint8_t* out, int sample) {
    out[0] = static_cast<std::uint8_t>(sample & 0xFF);
    out[1] = static_cast<std::uint8_t>((sample >> 8) & 0xFF);
}

template <int R>
int writeStereo16(std::uint8_t* out, const SlotWindow& slot) {
    int left[32 / R];
    int right[32 / R];
    windowChannel<R>(slot, 0, left);
    windowChannel<R>(slot, 1, right);
    for (int n = 0; n < 32 / R; ++n) {
        put16(out + 4 * n, left[n]);
        put16(out + 4 * n + 2, right[n]);
    }
    return 128 / R;
}

template <int R>
int writeMono16(std::uint8_t* out, const SlotWindow& slot) {
    int samples[32 / R];
    windowChannel<R>(slot, 0, samples);
    for (int n = 0; n < 32 / R; ++n) {
        put16(out + 2 * n, samples[n]);
    }
    return 64 / R;
}

template <int R>
int writeStereo8(std::uint8_t* out, const SlotWindow& slot) {
    int left[32 / R];
    int right[32 / R];
    windowChannel<R>(slot, 0, left);
    windowChannel<R>(slot, 1, right);
    for (int n = 0; n < 32 / R; ++n) {
        out[2 * n] = toUnsigned8(left[n]);
        out[2 * n + 1] = toUnsigned8(right[n]);
    }
    return 64 / R;
}

template <int R>
int writeMono8(std::uint8_t* out, const SlotWindow& slot) {
    int samples[32 / R];
    windowChannel<R>(slot, 0, samples);
    for (int n = 0; n < 32 / R; ++n) {
        out[n] = toUnsigned8(samples[n]);
    }
    return 32 / R;
}

template <int R>
PcmWriter writerFor(int channels, int bits) {
    if (bits == 16) {
        return channels == 2 ? writeStereo16<R> : writeMono16<R>;
    }
    return channels == 2 ? writeStereo8<R> : writeMono8<R>;
}

} // namespace

int toSample(double sum) {
    const float value = static_cast<float>(sum);
    // Clipping before rounding gives the same result because both limits are integers.
    if (value >= 32767.0f) {
        return 32767;
    }
    if (!(value > -32767.0f)) { // also NaN, so that -32768 never appears
        return -32767;
    }
    return static_cast<int>(std::lrint(value));
}

std::uint8_t toUnsigned8(int sample) {
    return static_cast<std::uint8_t>(((sample >> 8) & 0xFF) ^ 0x80);
}

PcmWriter selectPcmWriter(int divisor, int channels, int bits) {
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16)) {
        return nullptr;
    }
    switch (divisor) {
    case 1:
        return writerFor<1>(channels, bits);
    case 2:
        return writerFor<2>(channels, bits);
    case 4:
        return writerFor<4>(channels, bits);
    default:
        return nullptr;
    }
}

} // namespace quavera
