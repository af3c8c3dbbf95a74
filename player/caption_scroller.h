#pragma once
// The title of the minimised player: its caption and time, which, when they
// are wider than the minimised window, run from right to left through the
// title one character per tick, joined end to start by " +++ ".
#include <cstddef>
#include <string>

namespace quavera {

class CaptionScroller {
public:
    // The title for the next tick. fits: the text fits the window, and so
    // stands still.
    std::string Next(const std::string& text, bool fits);
    // The next text starts again from its first character.
    void Reset() {
        offset_ = 0;
        running_ = false;
    }
    // The last title given was a part of the running text.
    bool running() const { return running_; }

private:
    std::size_t offset_ = 0;
    bool running_ = false;
};

} // namespace quavera
