#include "caption_scroller.h"

namespace quavera {
namespace {

constexpr const char* kJoin = " +++ ";

} // namespace

std::string CaptionScroller::Next(const std::string& text, bool fits) {
    running_ = !fits;
    if (fits) {
        offset_ = 0;
        return text;
    }
    const std::string running = text + kJoin;
    // The text may have become shorter since the last tick.
    offset_ %= running.size();
    std::string title = running.substr(offset_) + running.substr(0, offset_);
    offset_ = (offset_ + 1) % running.size();
    return title;
}

} // namespace quavera
