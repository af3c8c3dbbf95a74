#pragma once
// What the queue's scan makes of one entry: its length for the total time,
// its volume preset and its line in the track list.
#include <functional>
#include <optional>
#include <string>

#include "playlist_entry.h"

namespace quavera {

inline constexpr const char* kUnreadableLine = "Error accessing file!";
inline constexpr const char* kNotScannedLine = "File scan aborted!";

// What the stream information of a file tells the scan.
struct StreamFacts {
    int lengthMs = 0; // -1 when unknown
    std::string title;
};
// Asks for a file's stream information; nothing when the file cannot be read.
using StreamQuery = std::function<std::optional<StreamFacts>(const std::string& name)>;

struct ScannedEntry {
    int lengthMs = 0; // 0 unreadable, -1 unknown
    unsigned volumePreset = 100;
    std::string line;
};

// The stream information is asked for only when the entry's own fields and
// the playlist leave the title or the length open; HTTP addresses are not
// asked for when skipHttpScan is set.
ScannedEntry ScanEntry(const PlaylistEntry& entry, bool skipHttpScan, const StreamQuery& query);

class EntrySource;
class PlaybackQueue;

// Follows the scan of a queue: each entry is announced before it is scanned
// (false cancels the scan there) and its list line told after.
class ScanObserver {
public:
    virtual bool Scanning(int k, const std::string& text) = 0;
    virtual void Scanned(int k, const std::string& line) = 0;

protected:
    ~ScanObserver() = default;
};

// Scans every entry of the source into the queue, which Init has sized for
// it. After a cancel the entries left are never played and are listed as
// not scanned. Returns the number of entries scanned.
int ScanQueue(EntrySource& source, PlaybackQueue& queue, bool skipHttpScan, const StreamQuery& query,
              ScanObserver& observer);

} // namespace quavera
