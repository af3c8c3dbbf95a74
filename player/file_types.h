#pragma once
// The file kinds the player opens, and the Open dialog's filter built from them.
#include <cstddef>
#include <string>
#include <vector>

namespace quavera {

// "|"-separated pairs of description and patterns, ending in "|": audio
// files, playlists and all files.
std::string OpenFilterText();
// The same for playlists and all files.
std::string PlaylistFilterText();
// The files chosen in an Open dialog that allows several: one full name, or
// the folder and then each name, all ending in NUL (fileOffset is where the
// dialog says the first name starts).
std::vector<std::string> SelectedFiles(const char* names, std::size_t fileOffset);

} // namespace quavera
