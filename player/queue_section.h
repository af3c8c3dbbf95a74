#pragma once
// The main dialog's track section: the counters, the total time and the
// total elapsed or remaining time with their mode buttons, and the track
// list. It is shown only while the queue holds more than one track, and only
// in the large size, whose dialog is then wide enough for it.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "track_list.h"

namespace quavera {

class QueueSection {
public:
    // Takes the section's controls from the dialog as its large template
    // lays them out, right of the narrow width, and hides them.
    void Attach(HWND dialog, int narrowWidth);
    TrackList& list() { return list_; }
    const TrackList& list() const { return list_; }
    // Whether the queue asks for the section; it shows only with room for it.
    bool wanted() const { return wanted_; }

    void SetWanted(bool wanted);
    // The dialog's size has room for the section (the large size) or not.
    void SetRoom(bool room);
    void ShowCounters(int current, int count, int waiting);
    void ShowTotalTime(std::int64_t totalMs);
    void ShowTotalPosition(bool remaining, std::int64_t totalMs, std::int64_t playedMs);
    // Pushes in the button of the mode and labels the display after it.
    void ShowTotalMode(bool remaining);

private:
    void SetText(int id, const std::string& text) const;
    void ShowControls() const;

    HWND dialog_ = nullptr;
    std::vector<HWND> controls_;
    bool wanted_ = false;
    bool room_ = true;
    TrackList list_;
};

} // namespace quavera
