#pragma once
// A track text as the queue, the playlists and the track properties store it:
// up to four fields separated by ";" (file name or address; alias; volume
// preset in per cent; playback duration limit in milliseconds). Missing
// trailing fields count as empty, so a plain file name is a whole entry text.
#include <string>

namespace quavera {

enum EntryFieldIndex : int { kEntryName = 0, kEntryAlias = 1, kEntryVolume = 2, kEntryDuration = 3 };

// Field n, without separators; empty when the text has fewer fields.
std::string EntryField(const std::string& text, int n);
// Field n read as a decimal number from its leading digits (0 when there are
// none), limited to the range of int.
int EntryNumber(const std::string& text, int n);
// The text with field n replaced by value; missing fields before it are added
// empty. A number is written in decimal.
std::string SetEntryField(const std::string& text, int n, const std::string& value);
std::string SetEntryField(const std::string& text, int n, int value);

// The file name without its folder (up to the last "\") and its extension
// (from the last "."): the title a track gets when it has no alias.
std::string BareTitle(const std::string& text);
// The file name or address as the lists show it: the folder ends at the last
// "\", or at the last "/" when there is none.
std::string DisplayName(const std::string& text, bool showPath, bool showExtension);

std::string EntryFileName(const std::string& text);
// The volume preset in per cent; 100 when the field is missing, 0 or out of range.
unsigned EntryVolumePreset(const std::string& text);

} // namespace quavera
