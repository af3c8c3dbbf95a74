#pragma once
// A track text as the queue and playlists store it: up to four fields
// separated by ";" (file name or address; alias; volume preset in per cent;
// playback duration limit in milliseconds). A plain file name is its own first field.
#include <string>

namespace quavera {

enum EntryFieldIndex : int { kEntryName = 0, kEntryAlias = 1, kEntryVolume = 2, kEntryDuration = 3 };

// Field n, without separators; empty when the text has fewer fields.
std::string EntryField(const std::string& text, int n);
// Field n read as a decimal number from its leading digits (0 when there are
// none), limited to the range of int.
int EntryNumber(const std::string& text, int n);

std::string EntryFileName(const std::string& entry);
// The volume preset in per cent; 100 when the field is missing, 0 or out of range.
unsigned EntryVolumePreset(const std::string& entry);

} // namespace quavera
