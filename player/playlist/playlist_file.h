#pragma once
// Opening a playlist for the queue: the name decides whether it is one and
// of which format; a playlist named by an HTTP address is first copied into
// the temporary folder.
#include <memory>
#include <string>

#include "entry_source.h"
#include "input_source.h"

namespace quavera {

// The name as a full path, or as it is when it has none.
std::string FullPathName(const std::string& name);
// "list.pls" in the temporary folder: the playlist that several files chosen
// together, or the playlist editor's unsaved list, become.
std::string TemporaryListName();
// The entries of the playlist that a local name names, or null when the name
// names no playlist. A file that cannot be read has no entries.
std::unique_ptr<EntrySource> OpenPlaylistFile(const std::string& name);
// Reads the playlist at the address through the reader into a file of the
// temporary folder named after the address's last part, as it comes. Returns
// the copy's name, or empty when the copy could not be made.
std::string DownloadPlaylist(InputSource& reader, const std::string& address);

} // namespace quavera
