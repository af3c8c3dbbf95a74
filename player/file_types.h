#pragma once
// The file kinds the player opens, and the Open dialog's filter built from them.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace quavera {

inline constexpr std::array kAudioExtensions = {".mp2", ".mp3", ".l2", ".l3"};
inline constexpr std::array kPlaylistExtensions = {".pls", ".m3u"};

// "|"-separated pairs of description and patterns, ending in "|".
std::string OpenFilterText();
// The files chosen in an Open dialog that allows several: one full name, or
// the folder and then each name, all ending in NUL (fileOffset is where the
// dialog says the first name starts).
std::vector<std::string> SelectedFiles(const char* names, std::size_t fileOffset);

} // namespace quavera
