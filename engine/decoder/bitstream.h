#pragma once
// The bit-stream context: a refillable byte buffer over an InputSource with
// 1024 zeroed slack bytes behind it, so that the bit reader may always load a
// whole 32-bit word without a bounds check. It also remembers where the next
// file of a list begins inside the buffer.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "input_source.h"

namespace quavera {

// Reads fields MSB first as a 32-bit big-endian word at the byte position,
// shifted by the bit offset and masked; fields are at most 25 bits wide.
// Copied into a local for hot loops and stored back afterwards.
struct BitReader {
    const std::uint8_t* ptr = nullptr;
    unsigned bit = 0; // 0..7 inside *ptr

    static constexpr std::array<std::uint32_t, 26> kMask = [] {
        std::array<std::uint32_t, 26> m{};
        for (unsigned n = 0; n < m.size(); ++n) {
            m[n] = (1u << n) - 1u;
        }
        return m;
    }();

    // The 32 bits from the byte position on, the first in the top bit.
    std::uint32_t word() const {
        std::uint32_t w;
        std::memcpy(&w, ptr, sizeof w);
        if constexpr (std::endian::native == std::endian::little) {
            w = __builtin_bswap32(w);
        }
        return w;
    }
    std::uint32_t peek(unsigned n) const {
        // Shifted as 64 bits: reading zero bits at a byte boundary shifts by 32.
        return static_cast<std::uint32_t>(std::uint64_t{word()} >> (32 - bit - n)) & kMask[n];
    }
    std::uint32_t read(unsigned n) {
        const std::uint32_t value = peek(n);
        skip(n);
        return value;
    }
    void skip(unsigned n) {
        bit += n;
        ptr += bit >> 3;
        bit &= 7;
    }
    void alignToByte() {
        if (bit != 0) {
            ++ptr;
            bit = 0;
        }
    }
};

// The 57 or more bits from bit position pos of base on, the first in the top
// bit: one 64-bit load, for loops that keep a bit position rather than a
// reader. The eight bytes from pos / 8 on must lie inside the buffer.
inline std::uint64_t bitsAt(const std::uint8_t* base, std::uint64_t pos) {
    std::uint64_t word;
    std::memcpy(&word, base + (pos >> 3), sizeof word);
    if constexpr (std::endian::native == std::endian::little) {
        word = __builtin_bswap64(word);
    }
    return word << (pos & 7);
}

// The reader at bit position pos of base, for going on from where such a loop stopped.
inline BitReader readerAt(const std::uint8_t* base, std::uint64_t pos) {
    return BitReader{base + pos / 8, static_cast<unsigned>(pos % 8)};
}

class BitStream {
public:
    static constexpr std::size_t kSlack = 1024;
    // Smaller buffers could not hold the widest frame plus its search window.
    static constexpr std::size_t kMinSize = 8192;

    BitStream(std::size_t size, std::size_t threshold);

    bool bind(InputSource* source);
    InputSource* source() const { return source_; }
    bool open(const char* name);
    bool close();
    bool seek(std::int32_t position);
    std::int32_t tell() const;
    std::int32_t length() const;
    void reset();

    // Moves the unread bytes to the front and reads more behind them. At the
    // end of input the rest of the buffer is zeroed once (within padBudget) so
    // that a last frame can be finished; the next short read fails.
    bool refill();
    // Refills when fewer than count bytes are unread.
    bool ensure(std::size_t count) { return unread() >= count || refill(); }
    // Moves the unread bytes to the front without reading, so that at least
    // count bytes of buffer follow the read position.
    void makeRoom(std::size_t count);
    // Consumes count bytes, refilling as needed.
    bool skipBytes(std::size_t count);

    // A frame with bad allocations may have read past the valid bytes.
    std::size_t unread() const {
        const std::uint8_t* end = buffer_.data() + fill_;
        return reader_.ptr < end ? static_cast<std::size_t>(end - reader_.ptr) : 0;
    }
    // Unread bytes that came from the source, without the zeros padded at its end.
    std::size_t dataUnread() const {
        const std::uint8_t* end = buffer_.data() + dataEnd_;
        return reader_.ptr < end ? static_cast<std::size_t>(end - reader_.ptr) : 0;
    }
    BitReader& reader() { return reader_; }
    const std::uint8_t* data() const { return reader_.ptr; }

    // Where the next file of a list starts, or null.
    const std::uint8_t* boundary() const { return boundary_; }
    void clearBoundary() { boundary_ = nullptr; }

    // The source position where the current file's audio ends (tags follow
    // it), 0 when unknown; audioEnd() is that place in the buffer once the
    // buffer reaches it, else null. Positions restart at 0 where a list's
    // next file begins.
    void setAudioEnd(std::int64_t position);
    const std::uint8_t* audioEnd() const { return audioEnd_; }

private:
    void moveUnreadToFront();
    void placeAudioEnd();

    InputSource* source_ = nullptr;
    bool sourceOpen_ = false;
    std::vector<std::uint8_t> buffer_;
    std::size_t size_;
    std::size_t threshold_;
    std::size_t fill_ = 0;
    std::size_t dataEnd_ = 0;
    std::int64_t padBudget_ = 0;
    const std::uint8_t* boundary_ = nullptr;
    // Source position of the byte after the last one read into the buffer.
    std::int64_t sourcePosition_ = 0;
    std::int64_t audioEndPosition_ = 0;
    const std::uint8_t* audioEnd_ = nullptr;
    BitReader reader_;
};

} // namespace quavera
