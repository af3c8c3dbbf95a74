#include "pls_file.h"

#include <windows.h>

#include <algorithm>

#include "playlist_names.h"

namespace quavera {
namespace {

constexpr const char* kSection = "playlist";
constexpr const char* kCountKey = "NumberOfEntries";
// As for ".m3u" lines: no file name is longer, only an alias could be.
constexpr DWORD kMaxEntryText = 4096;

std::string EntryKey(int n) { return "File" + std::to_string(n); }

} // namespace

PlsPlaylist::PlsPlaylist(const std::string& path) : path_(path), folder_(FolderOf(path)) {
    // A negative count, also a number beyond int, makes an empty playlist.
    const auto count = static_cast<int>(GetPrivateProfileIntA(kSection, kCountKey, 0, path.c_str()));
    count_ = std::max(count, 0);
}

PlaylistEntry PlsPlaylist::Entry(int n) {
    if (n < 1 || n > count_) return {};
    std::string text(kMaxEntryText, '\0');
    const DWORD length = GetPrivateProfileStringA(kSection, EntryKey(n).c_str(), "", text.data(), kMaxEntryText,
                                                  path_.c_str());
    text.resize(length);
    if (text.empty()) return {};
    return {ResolveEntryName(folder_, text), 0};
}

bool WritePlaylist(const std::string& path, const std::vector<std::string>& entries, PlsKeyOrder order) {
    // The whole section in one write: one key at a time would write the file
    // again for every entry, and keys of an earlier, longer list would stay.
    const std::string count = std::string(kCountKey) + "=" + std::to_string(entries.size()) + '\0';
    std::string section = order == PlsKeyOrder::CountFirst ? count : std::string();
    const std::string folder = FolderOf(path);
    for (std::size_t i = 0; i < entries.size(); ++i)
        section.append(EntryKey(static_cast<int>(i + 1))).append(1, '=').append(RelativeEntryName(folder, entries[i]))
            .append(1, '\0');
    if (order == PlsKeyOrder::EntriesFirst) section += count;
    section += '\0';
    return WritePrivateProfileSectionA(kSection, section.c_str(), path.c_str()) != FALSE;
}

bool SavePlaylist(const std::string& path, const std::vector<std::string>& entries) {
    // Beside the playlist, so that its relative names are the same.
    const std::string written = path + ".new";
    DeleteFileA(written.c_str());
    if (WritePlaylist(written, entries, PlsKeyOrder::CountFirst) &&
        MoveFileExA(written.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileA(written.c_str());
    return false;
}

} // namespace quavera
