#pragma once
// The texts the main dialog shows: times, captions, track name and stream
// parameters. Pure functions, so that their exact forms are tested directly.
#include <string>

#include "stream_status.h"

namespace quavera {

enum class TimeMode { Elapsed, Remaining };
enum class PlayState { Playing, Stopped, Paused };

// Track time: " m:ssmin " elapsed, "-m:ssmin " remaining; never an hour form.
std::string FormatTrackTime(TimeMode mode, unsigned positionMs, unsigned lengthMs);
// Slider labels: "m:ssmin".
std::string FormatSliderTime(unsigned ms);
std::string CaptionText(PlayState state, const std::string& name);
// The file name, with " [description]" when there is a description.
std::string TrackNameText(const char* name, const char* description);
std::string PlaybackParameterText(const StreamStatus& status);
std::string SourceParameterText(const StreamStatus& status);

} // namespace quavera
