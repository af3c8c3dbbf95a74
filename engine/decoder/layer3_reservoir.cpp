#include "layer3_reservoir.h"

#include <algorithm>
#include <cstring>

namespace quavera {

Reservoir::Reservoir() : buffer_(kCapacity + kSlack, 0) {
    reset();
}

void Reservoir::reset() {
    write_ = 0;
    movedBytes_ = 0;
    reader_.ptr = buffer_.data();
    reader_.bit = 0;
}

std::int64_t Reservoir::unread() const {
    return static_cast<std::int64_t>(write_) - (reader_.ptr - buffer_.data());
}

void Reservoir::append(const std::uint8_t* bytes, std::size_t count) {
    if (write_ + count > kCapacity) {
        const auto consumed = static_cast<std::size_t>(reader_.ptr - buffer_.data());
        const std::size_t keep = write_ > consumed ? write_ - consumed : 0;
        std::memmove(buffer_.data(), buffer_.data() + write_ - keep, keep);
        movedBytes_ += static_cast<std::int64_t>(write_ - keep);
        reader_.ptr = buffer_.data() + (consumed > write_ ? consumed - write_ : 0);
        write_ = keep;
    }
    const std::size_t stored = std::min(count, kCapacity - write_);
    std::memcpy(buffer_.data() + write_, bytes, stored);
    write_ += stored;
}

std::int64_t Reservoir::alignToByte() {
    reader_.alignToByte();
    return movedBytes_ + (reader_.ptr - buffer_.data());
}

void Reservoir::discard(std::int64_t count) {
    reader_.ptr += count;
}

void Reservoir::dropUnread() {
    reader_.ptr = buffer_.data() + write_;
    reader_.bit = 0;
}

} // namespace quavera
