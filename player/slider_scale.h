#pragma once
// Scale of the position slider: its unit, the tick interval for a track
// length, and where time labels may go under it.
#include <span>

namespace quavera {

constexpr unsigned kSliderUnitMs = 500;

// The first interval of the fixed table that divides the track into at most
// ten parts; 0 for tracks too long for any entry.
unsigned TickIntervalMs(unsigned lengthMs);

// Horizontal extent of a label, in client pixels.
struct Span {
    int left = 0;
    int right = 0;
};

// Tick labels must stay clear of both end labels and of each other, and must
// not start left of the dialog's edge.
bool TickLabelFits(Span label, Span startLabel, Span lengthLabel, std::span<const Span> placed);

} // namespace quavera
