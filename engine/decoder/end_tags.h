#pragma once
// Tags that follow the audio at the end of a file: an ID3v1 tag ("TAG", 128
// bytes) last, and an APEv2 tag (with its 32-byte footer) before it or last.
// Their bytes are no frames: they count neither in the stream's length nor
// in its seek map, and decoding ends where they begin.
#include <cstddef>
#include <cstdint>

namespace quavera {

// Bytes the tail of a file needs to show its end tags.
constexpr std::size_t kEndTagProbeBytes = 128 + 32;

// Bytes of the tags that end a file of fileBytes bytes, given its last
// tailBytes bytes (at most kEndTagProbeBytes; fewer when the file is
// shorter). 0 when there are none.
std::int64_t endTagBytes(const std::uint8_t* tail, std::size_t tailBytes, std::int64_t fileBytes);

} // namespace quavera
