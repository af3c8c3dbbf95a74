#pragma once
// The file kinds the player knows by their extensions: MPEG audio files and
// playlists. The Open dialog's filter, the playlist editor's file types and
// the shell associations are made from these lists.
#include <array>
#include <span>
#include <string>

namespace quavera {

inline constexpr std::array<const char*, 4> kAudioExtensions = {".mp2", ".mp3", ".l2", ".l3"};
inline constexpr std::array<const char*, 2> kPlaylistExtensions = {".pls", ".m3u"};

// "*" and each extension, joined by ";": "*.pls;*.m3u".
std::string ExtensionPatterns(std::span<const char* const> extensions);

} // namespace quavera
