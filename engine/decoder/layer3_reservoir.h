#pragma once
// The bit reservoir: main-data bytes of successive frames, appended as they
// arrive and read with the same bit reader as the frames. Positions are
// counted in bytes read since the last reset.
#include <cstdint>
#include <vector>

#include "bitstream.h"

namespace quavera {

class Reservoir {
public:
    // Main data of one frame plus the most a frame may reach back (511 bytes)
    // fits with room to spare.
    static constexpr std::size_t kCapacity = 4096;
    // Damaged side information lets a frame read far past its data (big
    // values of up to 576 lines per granule and channel); the bytes behind
    // the capacity keep every such read inside the buffer.
    static constexpr std::size_t kSlack = 16384;

    Reservoir();
    void reset();

    // Bytes appended but not read yet; negative when the reader ran past them.
    std::int64_t unread() const;
    // Appends count bytes; when they do not fit behind the unread bytes,
    // those move to the front first, and what still does not fit is dropped.
    void append(const std::uint8_t* bytes, std::size_t count);
    // Moves the reader to the next byte boundary; returns whole bytes read.
    std::int64_t alignToByte();
    // Skips count bytes.
    void discard(std::int64_t count);
    // Drops all unread bytes: the next read starts after everything appended.
    void dropUnread();

    BitReader& reader() { return reader_; }
    // Where the buffer starts: bit positions within a frame count from here.
    const std::uint8_t* base() const { return buffer_.data(); }

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t write_ = 0;        // bytes stored at the buffer's start
    std::int64_t movedBytes_ = 0; // bytes read before the buffer's start
    BitReader reader_;
};

} // namespace quavera
