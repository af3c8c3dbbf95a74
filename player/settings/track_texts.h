#pragma once
// What the track properties show: the durations with the range of their
// up-down control, the volume preset and the MPEG statistics, as texts.
#include <array>
#include <string>

#include "stream_status.h"

namespace quavera {

constexpr const char* kNotAvailable = "Not available!";

// The length of the stream in milliseconds, -1 when it is unknown or there
// is no record.
int FileDurationMs(const StreamStatus* status);

// "m:ss" of milliseconds; minutes go beyond 59.
std::string DurationText(int ms);

struct DurationView {
    bool known;              // false: both texts "Not available!", the playback duration's controls disabled
    std::string fileText;     // "m:ss"
    std::string playbackText; // "m:ss"
    // The playback duration's up-down control, in seconds.
    int lowerSeconds;
    int upperSeconds;
    int positionSeconds;
};

// The file's duration and the entry's playback duration limit (0 or less:
// none), as the "Properties" page shows them. A limit is never longer than
// the file, which stops playback anyway.
DurationView DescribeDurations(int fileMs, int limitMs);

// The volume preset edit's text: the preset in per cent that playback uses.
std::string VolumePresetText(const std::string& entry);

// The "MPEG statistics" page's values in the order of its rows: type, sample
// frequency, channel mode, bitrate, pack ratio, description. Without a record
// every row is "Not available!".
std::array<std::string, 6> StatisticsTexts(const StreamStatus* status);

} // namespace quavera
