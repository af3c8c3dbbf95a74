#include "pcm_writer.h"

namespace quavera {

namespace {

void put16(std::uint8_t* out, int sample) {
    out[0] = static_cast<std::uint8_t>(sample & 0xFF);
    out[1] = static_cast<std::uint8_t>((sample >> 8) & 0xFF);
}

template <int R>
int writeStereo16(std::uint8_t* out, const SlotWindow& slot) {
    int left[32 / R];
    int right[32 / R];
    slot.apply(slot, 0, left);
    slot.apply(slot, 1, right);
    for (int n = 0; n < 32 / R; ++n) {
        put16(out + 4 * n, left[n]);
        put16(out + 4 * n + 2, right[n]);
    }
    return 128 / R;
}

template <int R>
int writeMono16(std::uint8_t* out, const SlotWindow& slot) {
    int samples[32 / R];
    slot.apply(slot, 0, samples);
    for (int n = 0; n < 32 / R; ++n) {
        put16(out + 2 * n, samples[n]);
    }
    return 64 / R;
}

template <int R>
int writeStereo8(std::uint8_t* out, const SlotWindow& slot) {
    int left[32 / R];
    int right[32 / R];
    slot.apply(slot, 0, left);
    slot.apply(slot, 1, right);
    for (int n = 0; n < 32 / R; ++n) {
        out[2 * n] = toUnsigned8(left[n]);
        out[2 * n + 1] = toUnsigned8(right[n]);
    }
    return 64 / R;
}

template <int R>
int writeMono8(std::uint8_t* out, const SlotWindow& slot) {
    int samples[32 / R];
    slot.apply(slot, 0, samples);
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
