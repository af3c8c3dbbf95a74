#include "bitstream.h"

#include <algorithm>
#include <cstring>

namespace quavera {

BitStream::BitStream(std::size_t size, std::size_t threshold)
    : buffer_(std::max(size, kMinSize) + kSlack, 0), size_(std::max(size, kMinSize)), threshold_(threshold) {
    reset();
}

void BitStream::reset() {
    fill_ = 0;
    dataEnd_ = 0;
    boundary_ = nullptr;
    audioEnd_ = nullptr;
    reader_.ptr = buffer_.data();
    reader_.bit = 0;
    padBudget_ = static_cast<std::int64_t>(threshold_);
}

bool BitStream::bind(InputSource* source) {
    reset();
    if (source == source_) {
        return true;
    }
    if (!close()) {
        return false;
    }
    source_ = source;
    sourceOpen_ = true;
    return true;
}

bool BitStream::open(const char* name) {
    reset();
    sourcePosition_ = 0;
    audioEndPosition_ = 0;
    if (source_ == nullptr || !close()) {
        return false;
    }
    sourceOpen_ = source_->open(name) != 0;
    return sourceOpen_;
}

bool BitStream::close() {
    if (source_ != nullptr && sourceOpen_) {
        if (source_->close() == 0) {
            return false;
        }
        sourceOpen_ = false;
    }
    return true;
}

bool BitStream::seek(std::int32_t position) {
    reset();
    sourcePosition_ = position;
    return source_ != nullptr && source_->seek(position) != 0;
}

void BitStream::setAudioEnd(std::int64_t position) {
    audioEndPosition_ = position;
    audioEnd_ = nullptr;
    placeAudioEnd();
}

void BitStream::placeAudioEnd() {
    if (audioEndPosition_ <= 0) {
        return;
    }
    audioEnd_ = nullptr;
    const std::int64_t behind = sourcePosition_ - audioEndPosition_;
    if (behind >= 0) {
        // Already passed when it lies before the buffer.
        audioEnd_ = buffer_.data() + dataEnd_ - std::min(behind, static_cast<std::int64_t>(dataEnd_));
    }
}

std::int32_t BitStream::tell() const {
    if (source_ == nullptr) {
        return 0;
    }
    return source_->tell() - static_cast<std::int32_t>(dataUnread());
}

std::int32_t BitStream::length() const {
    // A source that does not know its length may report a negative one.
    return source_ != nullptr ? std::max<std::int32_t>(source_->length(), 0) : 0;
}

void BitStream::moveUnreadToFront() {
    const std::size_t consumed = static_cast<std::size_t>(reader_.ptr - buffer_.data());
    if (consumed == 0) {
        return;
    }
    const std::size_t left = fill_ - std::min(consumed, fill_);
    std::memmove(buffer_.data(), reader_.ptr, left);
    fill_ = left;
    dataEnd_ -= std::min(consumed, dataEnd_);
    reader_.ptr = buffer_.data();
    if (boundary_ != nullptr) {
        boundary_ = boundary_ >= buffer_.data() + consumed ? boundary_ - consumed : buffer_.data();
    }
    if (audioEnd_ != nullptr) {
        audioEnd_ = audioEnd_ >= buffer_.data() + consumed ? audioEnd_ - consumed : buffer_.data();
    }
}

bool BitStream::refill() {
    if (source_ == nullptr) {
        return false;
    }
    moveUnreadToFront();
    const std::uint32_t wanted = static_cast<std::uint32_t>(size_ - fill_);
    const std::uint32_t result = wanted != 0 ? source_->read(buffer_.data() + fill_, wanted) : 0;
    const std::uint32_t delivered = std::min(result & ~InputSource::kNextFileFlag, wanted);
    if ((result & InputSource::kNextFileFlag) != 0) {
        const std::uint32_t previous = std::min(source_->read(nullptr, 0), delivered);
        boundary_ = buffer_.data() + fill_ + previous;
        // The previous file's audio end stays where it is in the buffer;
        // positions of the next file count from its start.
        const std::int64_t previousEnd = sourcePosition_ + previous;
        if (audioEndPosition_ > 0 && audioEndPosition_ <= previousEnd) {
            audioEnd_ = boundary_ - std::min<std::int64_t>(previousEnd - audioEndPosition_, boundary_ - buffer_.data());
        }
        audioEndPosition_ = 0;
        sourcePosition_ = delivered - previous;
    } else {
        sourcePosition_ += delivered;
    }
    if (delivered == wanted) {
        fill_ += delivered;
        dataEnd_ = fill_;
        placeAudioEnd();
        return true;
    }
    if (padBudget_ <= 0) {
        return false;
    }
    fill_ += delivered;
    dataEnd_ = fill_;
    placeAudioEnd();
    const std::size_t zeroed = size_ - fill_;
    std::memset(buffer_.data() + fill_, 0, zeroed);
    fill_ = size_;
    padBudget_ -= static_cast<std::int64_t>(zeroed);
    return true;
}

void BitStream::makeRoom(std::size_t count) {
    if (static_cast<std::size_t>(buffer_.data() + buffer_.size() - reader_.ptr) < count) {
        moveUnreadToFront();
    }
}

bool BitStream::skipBytes(std::size_t count) {
    reader_.bit = 0;
    while (count > 0) {
        if (unread() == 0 && !refill()) {
            return false;
        }
        const std::size_t step = std::min(count, unread());
        reader_.ptr += step;
        count -= step;
    }
    return true;
}

} // namespace quavera
