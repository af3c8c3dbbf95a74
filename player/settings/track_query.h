#pragma once
// What the engine knows about a track's stream, for the track properties.
#include <windows.h>

#include <string>

#include "stream_readers.h"
#include "stream_status.h"

namespace quavera {

// The engine's record of the entry's stream, read through the reader its
// name needs; null when there is none: the engine could not read it (it has
// said why, in a box owned by window), or the name is an HTTP address and the
// settings skip the scan of such files.
const StreamStatus* QueryTrack(HWND window, const std::string& entry, StreamReaders& readers);

} // namespace quavera
