#include "queue_text.h"

#include <algorithm>
#include <cstdio>

namespace quavera {
namespace {

constexpr std::int64_t kHourMs = 3600000;

std::string Duration(const char* lead, std::int64_t ms, bool hours) {
    const auto seconds = static_cast<unsigned long long>(std::max<std::int64_t>(ms, 0) / 1000);
    char text[64];
    if (hours)
        std::snprintf(text, sizeof text, "%s%llu:%.2llu:%.2lluh ", lead, seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, "%s%llu:%.2llumin ", lead, seconds / 60, seconds % 60);
    return text;
}

} // namespace

std::string CounterText(int value) { return std::to_string(value) + " "; }

std::string TrackListLine(int k, const std::string& text) { return std::to_string(k) + ". " + text; }

std::string FormatTotalTime(std::int64_t totalMs) { return Duration("", totalMs, totalMs >= kHourMs); }

std::string FormatTotalPosition(bool remaining, std::int64_t totalMs, std::int64_t playedMs) {
    const bool hours = totalMs >= kHourMs;
    return remaining ? Duration("-", totalMs - playedMs, hours) : Duration(" ", playedMs, hours);
}

} // namespace quavera
