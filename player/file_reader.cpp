#include "file_reader.h"

#include <limits>

#include "continuous_run.h"
#include "id3v2_tag.h"

namespace quavera {

std::string FileReader::ListName(std::vector<std::string> files) {
    list_ = std::move(files);
    return quavera::ListName(&list_);
}

int FileReader::open(const char* name) {
    file_.reset();
    listOpen_ = false;
    position_ = 0;
    audioStart_ = 0;
    previousFileBytes_ = 0;
    fileChanged_ = false;
    name_ = name ? name : "";
    if (!name) return 0;
    const auto address = ListAddress(name_);
    if (address && *address == reinterpret_cast<std::uintptr_t>(&list_) && !list_.empty()) {
        listOpen_ = true;
        name_ = list_.front();
    }
    return OpenFile(name_) ? 1 : 0;
}

bool FileReader::OpenFile(const std::string& name) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    file_.reset(file);
    return true;
}

// A later file starts where its audio starts: a tag decoded as audio would be
// heard at the join.
bool FileReader::OpenNextFile() {
    const std::size_t next = position_ + 1;
    if (!listOpen_ || next >= list_.size()) return false;
    KernelHandle previous(file_.release());
    if (!OpenFile(list_[next])) {
        // The run ends with the file before; the queue meets this one on its own.
        file_.reset(previous.release());
        list_.resize(next);
        return false;
    }
    position_ = next;
    name_ = list_[next];
    std::uint8_t header[kId3v2HeaderBytes] = {};
    const bool tagged = ReadFile(reinterpret_cast<char*>(header), sizeof header) == sizeof header;
    audioStart_ = tagged ? id3v2TagBytes(header) : 0;
    SetFilePointer(file_.get(), audioStart_, nullptr, FILE_BEGIN);
    return true;
}

// The engine closes a reader it has just been given before it opens a name
// through it, so closing a reader that holds no file succeeds.
int FileReader::close() {
    file_.reset();
    return 1;
}

DWORD FileReader::ReadFile(char* buffer, DWORD count) {
    DWORD done = 0;
    if (!file_ || !::ReadFile(file_.get(), buffer, count, &done, nullptr)) return 0;
    return done;
}

std::uint32_t FileReader::read(void* buffer, std::uint32_t count) {
    if (!buffer) return previousFileBytes_;
    // The top bit of the result is the next-file flag, so one read delivers
    // less than 2 GiB.
    count &= ~kNextFileFlag;
    char* bytes = static_cast<char*>(buffer);
    std::uint32_t done = ReadFile(bytes, count);
    bool crossed = false;
    while (done < count && OpenNextFile()) {
        if (!crossed) previousFileBytes_ = done;
        crossed = true;
        fileChanged_ = true;
        done += ReadFile(bytes + done, count - done);
    }
    return crossed ? done | kNextFileFlag : done;
}

int FileReader::seek(std::int32_t position) {
    if (!file_ || position < 0) return 0;
    const LONG target = static_cast<LONG>(std::min<std::int64_t>(std::int64_t{position} + audioStart_,
                                                                 std::numeric_limits<LONG>::max()));
    return SetFilePointer(file_.get(), target, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

std::int32_t FileReader::tell() {
    if (!file_) return 0;
    const DWORD position = SetFilePointer(file_.get(), 0, nullptr, FILE_CURRENT);
    if (position == INVALID_SET_FILE_POINTER) return 0;
    return static_cast<std::int32_t>(position) - audioStart_;
}

std::int32_t FileReader::length() {
    LARGE_INTEGER size{};
    if (!file_ || !GetFileSizeEx(file_.get(), &size)) return 0;
    // The status record keeps lengths in 32 signed bits.
    constexpr LONGLONG kLimit = std::numeric_limits<std::int32_t>::max();
    const LONGLONG audio = size.QuadPart - audioStart_;
    return static_cast<std::int32_t>(audio < kLimit ? audio : kLimit);
}

int FileReader::fileChanged() {
    const bool changed = fileChanged_;
    fileChanged_ = false;
    return changed ? 1 : 0;
}

} // namespace quavera
