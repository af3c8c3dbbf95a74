#include "playlist_names.h"

#include <algorithm>

#include "http_address.h"

namespace quavera {

std::string AsciiLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

PlaylistFormat PlaylistFormatOf(const std::string& name) {
    const std::string lower = AsciiLower(name);
    if (lower.find(".pls") != std::string::npos) return PlaylistFormat::Pls;
    if (lower.find(".m3u") != std::string::npos) return PlaylistFormat::M3u;
    return PlaylistFormat::None;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string PlaylistCopyName(const std::string& address) { return address.substr(address.rfind('/') + 1); }

std::string ResolveEntryName(const std::string& folder, const std::string& entry) {
    const bool absolute = IsHttpAddress(entry) || (!entry.empty() && entry[0] == '\\') ||
                          (entry.size() >= 3 && entry[1] == ':' && entry[2] == '\\');
    return absolute ? entry : folder + entry;
}

std::string RelativeEntryName(const std::string& folder, const std::string& name) {
    // A name whose own folder is the playlist's also begins with it.
    return name.compare(0, folder.size(), folder) == 0 ? name.substr(folder.size()) : name;
}

} // namespace quavera
