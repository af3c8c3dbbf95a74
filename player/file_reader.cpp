#include "file_reader.h"

#include <limits>

namespace quavera {

int FileReader::open(const char* name) {
    file_.reset();
    name_ = name ? name : "";
    if (!name) return 0;
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    file_.reset(file);
    return 1;
}

// The engine closes a reader it has just been given before it opens a name
// through it, so closing a reader that holds no file succeeds.
int FileReader::close() {
    file_.reset();
    return 1;
}

std::uint32_t FileReader::read(void* buffer, std::uint32_t count) {
    // The top bit of the result is the next-file flag, so one read delivers
    // less than 2 GiB.
    count &= ~kNextFileFlag;
    DWORD done = 0;
    if (!file_ || !buffer || !ReadFile(file_.get(), buffer, count, &done, nullptr)) return 0;
    return done;
}

int FileReader::seek(std::int32_t position) {
    if (!file_ || position < 0) return 0;
    return SetFilePointer(file_.get(), position, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

std::int32_t FileReader::tell() {
    if (!file_) return 0;
    const DWORD position = SetFilePointer(file_.get(), 0, nullptr, FILE_CURRENT);
    return position == INVALID_SET_FILE_POINTER ? 0 : static_cast<std::int32_t>(position);
}

std::int32_t FileReader::length() {
    LARGE_INTEGER size{};
    if (!file_ || !GetFileSizeEx(file_.get(), &size)) return 0;
    // The status record keeps lengths in 32 signed bits.
    constexpr LONGLONG kLimit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(size.QuadPart < kLimit ? size.QuadPart : kLimit);
}

} // namespace quavera
