#pragma once
// A track text as the queue and playlists store it: up to four fields
// separated by ";" (file name or address; alias; volume preset in per cent;
// playback duration limit in milliseconds). A plain file name is its own first field.
#include <string>

namespace quavera {

std::string EntryFileName(const std::string& entry);
// The volume preset in per cent; 100 when the field is missing or 0.
unsigned EntryVolumePreset(const std::string& entry);

} // namespace quavera
