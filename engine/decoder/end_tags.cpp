#include "end_tags.h"

#include <cstring>

namespace quavera {

namespace {

constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kApeFooterBytes = 32;
constexpr std::uint32_t kApeHasHeader = 0x80000000u;

std::uint32_t littleEndian(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

// The bytes of an APEv2 tag whose footer ends at end, or 0.
std::int64_t apeTagBytes(const std::uint8_t* end) {
    const std::uint8_t* footer = end - kApeFooterBytes;
    if (std::memcmp(footer, "APETAGEX", 8) != 0) {
        return 0;
    }
    // The size counts the items and the footer, not the header.
    const std::int64_t size = littleEndian(footer + 12);
    if (size < static_cast<std::int64_t>(kApeFooterBytes)) {
        return 0;
    }
    return size + ((littleEndian(footer + 20) & kApeHasHeader) != 0 ? static_cast<std::int64_t>(kApeFooterBytes) : 0);
}

} // namespace

std::int64_t endTagBytes(const std::uint8_t* tail, std::size_t tailBytes, std::int64_t fileBytes) {
    const std::uint8_t* end = tail + tailBytes;
    std::int64_t bytes = 0;
    if (tailBytes >= kId3v1Bytes && std::memcmp(end - kId3v1Bytes, "TAG", 3) == 0) {
        bytes = kId3v1Bytes;
        end -= kId3v1Bytes;
    }
    if (static_cast<std::size_t>(end - tail) >= kApeFooterBytes) {
        const std::int64_t ape = apeTagBytes(end);
        // A size beyond the file is no tag of this file.
        if (ape > 0 && bytes + ape <= fileBytes) {
            bytes += ape;
        }
    }
    return bytes;
}

} // namespace quavera
