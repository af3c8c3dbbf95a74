#include "file_types.h"

#include <array>

namespace quavera {
namespace {

template <std::size_t N>
std::string Patterns(const std::array<const char*, N>& extensions) {
    std::string text;
    for (const char* extension : extensions) {
        if (!text.empty()) text += ';';
        text.append("*").append(extension);
    }
    return text;
}

} // namespace

std::string OpenFilterText() {
    const std::string audio = Patterns(kAudioExtensions);
    const std::string playlists = Patterns(kPlaylistExtensions);
    return "MPEG Audio Files (" + audio + ")|" + audio + "|Playlist Files (" + playlists + ")|" + playlists +
           "|All Files (*.*)|*.*|";
}

std::vector<std::string> SelectedFiles(const char* names, std::size_t fileOffset) {
    const std::string first = names;
    if (first.empty()) return {};
    // One file is its full name; several are their folder, a NUL and the names.
    if (fileOffset == 0 || names[fileOffset - 1] != '\0') return {first};
    std::string folder = first;
    if (folder.back() != '\\') folder += '\\';
    std::vector<std::string> files;
    for (const char* name = names + first.size() + 1; *name; name += std::char_traits<char>::length(name) + 1)
        files.push_back(folder + name);
    return files;
}

} // namespace quavera
