#include "file_types.h"

#include <array>

namespace quavera {
namespace {

constexpr std::array kAudioExtensions = {".mp2", ".mp3", ".l2", ".l3"};
constexpr std::array kPlaylistExtensions = {".pls", ".m3u"};

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

} // namespace quavera
