#include "memory_source.h"

#include <algorithm>

namespace quavera::test {

MemorySource::MemorySource(Bytes data, std::string name) : MemorySource(std::vector<Bytes>{std::move(data)}, std::move(name)) {}

MemorySource::MemorySource(std::vector<Bytes> files, std::string name) : files_(std::move(files)), name_(std::move(name)) {
    for (const Bytes& f : files_) {
        all_.insert(all_.end(), f.begin(), f.end());
    }
}

std::size_t MemorySource::fileAt(std::size_t position) const {
    std::size_t start = 0;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (position < start + files_[i].size()) {
            return i;
        }
        start += files_[i].size();
    }
    return files_.empty() ? 0 : files_.size() - 1;
}

std::uint32_t MemorySource::read(void* buffer, std::uint32_t count) {
    if (buffer == nullptr) {
        return previousFileBytes_;
    }
    const std::size_t n = std::min<std::size_t>(count, all_.size() - std::min(position_, all_.size()));
    std::copy_n(all_.begin() + static_cast<std::ptrdiff_t>(position_), n, static_cast<std::uint8_t*>(buffer));
    const std::size_t first = fileAt(position_);
    const std::size_t last = n > 0 ? fileAt(position_ + n - 1) : first;
    std::uint32_t result = static_cast<std::uint32_t>(n);
    if (last != first) {
        std::size_t endOfFirst = 0;
        for (std::size_t i = 0; i <= first; ++i) {
            endOfFirst += files_[i].size();
        }
        previousFileBytes_ = static_cast<std::uint32_t>(endOfFirst - position_);
        result |= kNextFileFlag;
    }
    currentFile_ = last;
    position_ += n;
    return result;
}

int MemorySource::seek(std::int32_t position) {
    if (position < 0 || static_cast<std::size_t>(position) > all_.size()) {
        return 0;
    }
    position_ = static_cast<std::size_t>(position);
    currentFile_ = fileAt(position_);
    return 1;
}

std::int32_t MemorySource::length() {
    return files_.empty() ? 0 : static_cast<std::int32_t>(files_[currentFile_].size());
}

} // namespace quavera::test
