#include "playlist_file.h"

#include <windows.h>

#include <cstdio>

#include "playlist_names.h"
#include "pls_file.h"

namespace quavera {
namespace {

// The temporary folder's name is kept in 128 characters.
constexpr DWORD kTempFolderSize = 129;
constexpr std::uint32_t kDownloadBlock = 128;

} // namespace

std::string FullPathName(const std::string& name) {
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : name;
}

std::string TemporaryListName() {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "list.pls";
}

std::unique_ptr<EntrySource> OpenPlaylistFile(const std::string& name) {
    switch (PlaylistFormatOf(name)) {
    case PlaylistFormat::Pls: return std::make_unique<PlsPlaylist>(name);
    case PlaylistFormat::M3u: return std::make_unique<M3uPlaylist>(name);
    case PlaylistFormat::None: break;
    }
    return nullptr;
}

std::string DownloadPlaylist(InputSource& reader, const std::string& address) {
    char folder[kTempFolderSize] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    const std::string copyName = PlaylistCopyName(address);
    if (length == 0 || length >= sizeof folder || copyName.empty()) return {};
    const std::string copy = std::string(folder, length) + copyName;
    if (!reader.open(address.c_str())) return {};
    // The bytes are kept as they come: the readers take either line end.
    std::FILE* file = std::fopen(copy.c_str(), "wb");
    const bool copied = file != nullptr;
    if (copied) {
        char block[kDownloadBlock];
        std::uint32_t got = 0;
        do {
            got = reader.read(block, sizeof block) & ~InputSource::kNextFileFlag;
            std::fwrite(block, 1, got, file);
        } while (got == sizeof block);
        std::fclose(file);
    }
    reader.close();
    return copied ? copy : std::string();
}

} // namespace quavera
