#pragma once
// The engine's status record as the player reads it. Its layout is part of
// the binary interface: on 32-bit Windows it is exactly the record below
// (564 bytes); on 64-bit Windows the device handle is pointer-sized.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace quavera {

struct StreamStatus {
    char title[256];
    char description[256];
    std::int32_t fileLength;
    float totalTime; // ms, -1 when unknown
    float position;  // ms
    float compressionRatio;
    std::uint16_t layer;
    std::uint16_t mpegVersion;
    std::uint16_t bitratePerChannel;
    std::uint16_t outputRate;
    std::uint16_t streamRate;
    std::uint16_t outputChannels;
    std::uint16_t streamChannels;
    std::uint16_t bitsPerSample;
    std::uint16_t quality;
    std::int32_t playing;
    std::int32_t paused;
    HWAVEOUT device;
    std::uint16_t volumeLeft;
    std::uint16_t volumeRight;
};

static_assert(offsetof(StreamStatus, description) == 256);
static_assert(offsetof(StreamStatus, fileLength) == 512);
static_assert(offsetof(StreamStatus, totalTime) == 516);
static_assert(offsetof(StreamStatus, position) == 520);
static_assert(offsetof(StreamStatus, compressionRatio) == 524);
static_assert(offsetof(StreamStatus, layer) == 528);
static_assert(offsetof(StreamStatus, mpegVersion) == 530);
static_assert(offsetof(StreamStatus, bitratePerChannel) == 532);
static_assert(offsetof(StreamStatus, outputRate) == 534);
static_assert(offsetof(StreamStatus, streamRate) == 536);
static_assert(offsetof(StreamStatus, outputChannels) == 538);
static_assert(offsetof(StreamStatus, streamChannels) == 540);
static_assert(offsetof(StreamStatus, bitsPerSample) == 542);
static_assert(offsetof(StreamStatus, quality) == 544);
static_assert(offsetof(StreamStatus, playing) == 548);
static_assert(offsetof(StreamStatus, paused) == 552);
#if defined(_WIN64)
static_assert(offsetof(StreamStatus, device) == 560);
static_assert(offsetof(StreamStatus, volumeLeft) == 568);
static_assert(sizeof(StreamStatus) == 576);
#else
static_assert(sizeof(HWAVEOUT) == 4);
static_assert(offsetof(StreamStatus, device) == 556);
static_assert(offsetof(StreamStatus, volumeLeft) == 560);
static_assert(offsetof(StreamStatus, volumeRight) == 562);
static_assert(sizeof(StreamStatus) == 564);
#endif

} // namespace quavera
