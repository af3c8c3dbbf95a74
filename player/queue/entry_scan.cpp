#include "entry_scan.h"

#include <algorithm>

#include "entry_source.h"
#include "entry_text.h"
#include "playback_queue.h"
#include "http_address.h"
#include "playlist_names.h"

namespace quavera {

ScannedEntry ScanEntry(const PlaylistEntry& entry, bool skipHttpScan, const StreamQuery& query) {
    const std::string& text = entry.text;
    const std::string name = EntryFileName(text);
    const int limit = std::max(EntryNumber(text, kEntryDuration), 0);
    // A length the playlist states saves asking the stream for it.
    const int stated = limit != 0 ? limit : entry.durationMs;
    ScannedEntry result;
    result.volumePreset = EntryVolumePreset(text);

    std::string title = EntryField(text, kEntryAlias);
    std::optional<StreamFacts> facts;
    bool asked = false;
    if (IsHttpAddress(name) && skipHttpScan) {
        result.lengthMs = stated != 0 ? stated : -1;
    } else {
        // An address's folders end at "/", as the engine cuts its title too.
        if (title.empty()) title = IsHttpAddress(name) ? DisplayName(text, false, false) : BareTitle(text);
        const auto ask = [&] {
            if (!asked) facts = query(name);
            asked = true;
        };
        if (title.empty()) ask();
        if (stated != 0) {
            result.lengthMs = stated;
        } else {
            ask();
            result.lengthMs = facts ? facts->lengthMs : 0;
        }
    }
    if (result.lengthMs == 0)
        result.line = kUnreadableLine;
    else if (!title.empty())
        result.line = title;
    else if (facts && !facts->title.empty())
        result.line = facts->title;
    else
        result.line = DisplayName(text, false, false);
    return result;
}

int ScanQueue(EntrySource& source, PlaybackQueue& queue, bool skipHttpScan, const StreamQuery& query,
              ScanObserver& observer) {
    int k = 1;
    for (; k <= queue.count(); ++k) {
        const PlaylistEntry entry = source.Entry(k);
        if (!observer.Scanning(k, entry.text)) break;
        const ScannedEntry scanned = ScanEntry(entry, skipHttpScan, query);
        queue.SetTrack(k, scanned.lengthMs, scanned.volumePreset);
        observer.Scanned(k, scanned.line);
    }
    const int scannedCount = k - 1;
    queue.AbortScanFrom(k);
    for (; k <= queue.count(); ++k) observer.Scanned(k, kNotScannedLine);
    return scannedCount;
}

} // namespace quavera
