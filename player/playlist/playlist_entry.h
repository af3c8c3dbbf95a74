#pragma once
// One entry as a playlist hands it to the queue.
#include <string>

namespace quavera {

struct PlaylistEntry {
    std::string text;   // the entry text (see entry_text.h)
    int durationMs = 0; // the length the playlist states for the track; 0 when it states none
};

} // namespace quavera
