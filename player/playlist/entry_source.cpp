#include "entry_source.h"

#include "playlist_names.h"

namespace quavera {

M3uPlaylist::M3uPlaylist(const std::string& path) : folder_(FolderOf(path)) { index_.Open(path); }

PlaylistEntry M3uPlaylist::Entry(int n) {
    PlaylistEntry entry = index_.Entry(n);
    if (!entry.text.empty()) entry.text = ResolveEntryName(folder_, entry.text);
    return entry;
}

PlaylistEntry NameList::Entry(int n) {
    if (n < 1 || n > count()) return {};
    return {names_[static_cast<std::size_t>(n - 1)], 0};
}

} // namespace quavera
