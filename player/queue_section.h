#pragma once
// The main dialog's track section: the counters, the total time and the
// total elapsed or remaining time with their mode buttons, and the track
// list. It is shown only while the queue holds more than one track; the
// dialog is then wide enough for it, and otherwise ends before it.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "track_list.h"

namespace quavera {

class QueueSection {
public:
    // Takes the section's controls from the dialog as its template lays them
    // out, and hides them.
    void Attach(HWND dialog);
    TrackList& list() { return list_; }
    const TrackList& list() const { return list_; }
    bool visible() const { return visible_; }

    void SetVisible(bool visible);
    void ShowCounters(int current, int count, int waiting);
    void ShowTotalTime(std::int64_t totalMs);
    void ShowTotalPosition(bool remaining, std::int64_t totalMs, std::int64_t playedMs);
    // Pushes in the button of the mode and labels the display after it.
    void ShowTotalMode(bool remaining);

private:
    void SetText(int id, const std::string& text) const;

    HWND dialog_ = nullptr;
    std::vector<HWND> controls_;
    int narrowWidth_ = 0;
    int wideWidth_ = 0;
    bool visible_ = true;
    TrackList list_;
};

} // namespace quavera
