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
    const auto writeCount = [&] {
        return WritePrivateProfileStringA(kSection, kCountKey, std::to_string(entries.size()).c_str(),
                                          path.c_str()) != FALSE;
    };
    bool written = order != PlsKeyOrder::CountFirst || writeCount();
    const std::string folder = FolderOf(path);
    for (std::size_t i = 0; i < entries.size() && written; ++i) {
        const std::string key = EntryKey(static_cast<int>(i + 1));
        written = WritePrivateProfileStringA(kSection, key.c_str(), RelativeEntryName(folder, entries[i]).c_str(),
                                             path.c_str()) != FALSE;
    }
    return written && (order != PlsKeyOrder::EntriesFirst || writeCount());
}

} // namespace quavera
