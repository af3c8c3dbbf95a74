#pragma once
// How long blocks last and how often the refresh runs, from the settings and
// the stream.
namespace quavera {

// Milliseconds of audio one block holds, truncated.
constexpr int BlockTime(int framesPerBuffer, double msPerFrame) {
    return static_cast<int>(framesPerBuffer * msPerFrame);
}

// Frames between two position messages; 0 posts none.
constexpr int FramesPerTick(int streamRate, unsigned tickMs, int samplesPerFrame) {
    return tickMs > 0 ? static_cast<int>(static_cast<double>(streamRate) * tickMs / (samplesPerFrame * 1000.0)) : 0;
}

// The timer fires four times per block, so a finished block is refilled well
// before the ring runs dry; the thread sleeps a quarter of the spare time per
// block (none when decoding leaves no spare time); the device callback comes
// once per block.
constexpr int RefreshPeriod(int method, int blockTime, int averageDecodeMs) {
    switch (method) {
    case 1:
        return blockTime / 4;
    case 2: {
        const int spare = static_cast<int>(0.95 * blockTime) - averageDecodeMs;
        const int period = spare < 0 ? 0 : spare / 4;
        return period < 5 || period > blockTime ? 0 : period;
    }
    default:
        return blockTime;
    }
}

} // namespace quavera
