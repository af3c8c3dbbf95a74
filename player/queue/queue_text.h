#pragma once
// The texts of the track section: counters, list lines and the total times.
#include <cstdint>
#include <string>

namespace quavera {

// A counter: "%d ".
std::string CounterText(int value);
// A line of the track list: "%d. " and the entry's text.
std::string TrackListLine(int k, const std::string& text);
// The queue's total time: "m:ssmin " below one hour, "h:mm:ssh " from one
// hour on.
std::string FormatTotalTime(std::int64_t totalMs);
// The time played of the whole queue (leading " "), or what remains of it
// (leading "-"), in the form that the total time takes.
std::string FormatTotalPosition(bool remaining, std::int64_t totalMs, std::int64_t playedMs);

} // namespace quavera
