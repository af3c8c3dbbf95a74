#include "id3v1_file.h"

#include <windows.h>

#include "handles.h"

namespace quavera {

std::optional<Id3v1Tag> ReadId3v1Tag(const std::string& fileName) {
    // Others may read the file meanwhile, but not write it.
    const HANDLE opened = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const KernelHandle file(opened);
    LARGE_INTEGER end{};
    end.QuadPart = -static_cast<LONGLONG>(kId3v1Size);
    if (!SetFilePointerEx(file.get(), end, nullptr, FILE_END)) return std::nullopt;
    std::uint8_t tail[kId3v1Size];
    DWORD read = 0;
    if (!ReadFile(file.get(), tail, sizeof tail, &read, nullptr)) return std::nullopt;
    return ParseId3v1Tag(tail, read);
}

} // namespace quavera
