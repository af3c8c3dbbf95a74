#pragma once
// The size of an ID3v2 tag at the start of a file. Header-only: the player's
// file reader skips the tags of the later files of a continuous run by the
// same rule as the stream open skips the first file's.
#include <cstddef>
#include <cstdint>

namespace quavera {

inline constexpr std::size_t kId3v2HeaderBytes = 10;

// Total bytes of an ID3v2 tag starting at p (kId3v2HeaderBytes readable
// bytes), or 0 when p does not start a valid tag header.
inline std::int32_t id3v2TagBytes(const std::uint8_t* p) {
    if (p[0] != 'I' || p[1] != 'D' || p[2] != '3' || p[3] == 0xFF || p[4] == 0xFF) {
        return 0;
    }
    std::int32_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (p[i] >= 0x80) {
            return 0;
        }
        size = size << 7 | p[i];
    }
    const auto header = static_cast<std::int32_t>(kId3v2HeaderBytes);
    const bool footer = (p[5] & 0x10) != 0;
    return header + size + (footer ? header : 0);
}

} // namespace quavera
