#pragma once
// What a name tells about a playlist or an entry: whether it is an HTTP
// address, which playlist format it names, and how entry names are made
// absolute on reading and relative on writing. Folders end with "\".
#include <string>

namespace quavera {

enum class PlaylistFormat { None, Pls, M3u };

// File names and addresses the player opens are at most this long: a longer
// one could only open some other file.
inline constexpr std::size_t kMaxNameLength = 255;

// The text with the letters A to Z made small, as names are compared.
std::string AsciiLower(std::string text);
// ".pls" anywhere in the name, in any case, makes it a ".pls" playlist (so
// "song.pls.mp3" is one); otherwise ".m3u" anywhere makes it an ".m3u".
PlaylistFormat PlaylistFormatOf(const std::string& name);
// The part of the name up to and including its last "\", or empty.
std::string FolderOf(const std::string& path);
// The file name that a playlist downloaded from the address is saved under:
// the part of the address after its last "/".
std::string PlaylistCopyName(const std::string& address);

// An entry as read from a playlist in the folder: web addresses, names that
// begin with "\" and names with a drive ("C:\") stand as they are; every other
// name is relative to the playlist's folder.
std::string ResolveEntryName(const std::string& folder, const std::string& entry);
// The name as a playlist in the folder stores it: without the folder when it
// lies in it or below it (compared with case), else as it is.
std::string RelativeEntryName(const std::string& folder, const std::string& name);

} // namespace quavera
