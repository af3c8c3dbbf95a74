#include "memory_source.h"

#include <algorithm>

namespace quavera::test {

MemorySource::MemorySource(Bytes data, std::string name) : MemorySource(std::vector<Bytes>{std::move(data)}, std::move(name)) {}

MemorySource::MemorySource(std::vector<Bytes> files, std::string name) : files_(std::move(files)), name_(std::move(name)) {
    if (files_.empty()) {
        files_.emplace_back();
    }
}

std::uint32_t MemorySource::read(void* buffer, std::uint32_t count) {
    if (buffer == nullptr) {
        return previousFileBytes_;
    }
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint32_t done = 0;
    bool crossed = false;
    for (;;) {
        const Bytes& file = files_[currentFile_];
        const std::size_t n = std::min<std::size_t>(count - done, file.size() - std::min(position_, file.size()));
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(position_), n, out + done);
        position_ += n;
        done += static_cast<std::uint32_t>(n);
        if (done == count || currentFile_ + 1 >= files_.size()) {
            break;
        }
        // The read goes on in the next file, whose positions start at 0.
        if (!crossed) {
            previousFileBytes_ = done;
        }
        crossed = true;
        ++currentFile_;
        position_ = 0;
    }
    return crossed ? done | kNextFileFlag : done;
}

int MemorySource::seek(std::int32_t position) {
    if (position < 0 || static_cast<std::size_t>(position) > files_[currentFile_].size()) {
        return 0;
    }
    position_ = static_cast<std::size_t>(position);
    return 1;
}

std::int32_t MemorySource::length() {
    return static_cast<std::int32_t>(files_[currentFile_].size());
}

} // namespace quavera::test
