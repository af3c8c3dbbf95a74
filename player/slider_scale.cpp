#include "slider_scale.h"

#include <algorithm>
#include <array>

namespace quavera {
namespace {

constexpr std::array<unsigned, 20> kTickIntervalsMs = {
    100,   200,    500,    1000,   2000,   5000,   10000,   20000,   30000,   60000,
    75000, 90000, 120000, 180000, 240000, 300000, 600000, 1200000, 1800000, 3600000};

constexpr unsigned kMaxTicksPerTrack = 10;

bool Overlaps(Span a, Span b) { return a.left < b.right && b.left < a.right; }

} // namespace

unsigned TickIntervalMs(unsigned lengthMs) {
    const auto fit = std::find_if(kTickIntervalsMs.begin(), kTickIntervalsMs.end(),
                                  [lengthMs](unsigned interval) { return lengthMs / interval <= kMaxTicksPerTrack; });
    return fit == kTickIntervalsMs.end() ? 0 : *fit;
}

bool TickLabelFits(Span label, Span startLabel, Span lengthLabel, std::span<const Span> placed) {
    if (label.left < 0 || label.left < startLabel.right || label.right > lengthLabel.left) return false;
    return std::none_of(placed.begin(), placed.end(), [label](Span other) { return Overlaps(label, other); });
}

} // namespace quavera
