#include "file_source.h"

#include <algorithm>
#include <limits>

#include <sys/stat.h>

namespace quavera {

int FileSource::open(const char* name) {
    close();
    name_ = name != nullptr ? name : "";
    file_ = name != nullptr ? std::fopen(name, "rb") : nullptr;
    if (file_ == nullptr) {
        return 0;
    }
    // A directory opens for reading here but is no file to the player's reader.
    struct stat status {};
    if (::fstat(::fileno(file_), &status) != 0 || S_ISDIR(status.st_mode)) {
        close();
        return 0;
    }
    // Lengths are kept in 32 signed bits: a longer file reports the largest.
    length_ = static_cast<std::int32_t>(
        std::min<std::int64_t>(status.st_size, std::numeric_limits<std::int32_t>::max()));
    return 1;
}

int FileSource::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    return 1;
}

std::uint32_t FileSource::read(void* buffer, std::uint32_t count) {
    if (file_ == nullptr || buffer == nullptr) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::fread(buffer, 1, count, file_));
}

int FileSource::seek(std::int32_t position) {
    return file_ != nullptr && std::fseek(file_, position, SEEK_SET) == 0 ? 1 : 0;
}

std::int32_t FileSource::tell() {
    return file_ != nullptr ? static_cast<std::int32_t>(std::ftell(file_)) : 0;
}

std::int32_t FileSource::length() {
    return length_;
}

} // namespace quavera
