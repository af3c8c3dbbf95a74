#pragma once
// Whether a saved window position may be used on the current desktop.

namespace quavera {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The window (x, y, width, height) must start at or below the desktop's top
// and keep at least five pixels of itself on the desktop.
bool PositionFitsDesktop(const ScreenRect& desktop, int x, int y, int width, int height);

} // namespace quavera
