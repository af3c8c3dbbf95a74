#pragma once
// The small window that shows the steps of an HTTP connection while it is
// made: a caption, one line of text and a progress bar. Built without a
// dialog template, so that every program with the HTTP reader can show it.
#include <windows.h>

#include <string>

#include "win_handles.h"

namespace quavera {

class ConnectionProgress {
public:
    // Shows the window centred over owner (or the screen), with a bar of
    // the given number of steps.
    void Show(HWND owner, const char* caption, int steps);
    // Replaces the text, advances the bar one step and lets waiting paint
    // and own messages through. Does nothing while the window is closed.
    void Step(const std::string& text);
    void Close() { window_.reset(); }

private:
    ChildWindow window_;
    HWND text_ = nullptr;
    HWND bar_ = nullptr;
};

} // namespace quavera
