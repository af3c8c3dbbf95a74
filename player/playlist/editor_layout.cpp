#include "editor_layout.h"

namespace quavera {

Box AnchoredBox(const Box& initial, unsigned anchors, int dx, int dy) {
    Box box = initial;
    if (anchors & kMoveRight) {
        box.left += dx;
        box.right += dx;
    } else if (anchors & kStretchWide) {
        box.right += dx;
    }
    if (anchors & kMoveDown) {
        box.top += dy;
        box.bottom += dy;
    } else if (anchors & kStretchHigh) {
        box.bottom += dy;
    }
    return box;
}

Box HoldMinimumSize(Box sizing, bool draggingLeft, bool draggingTop, int minWidth, int minHeight) {
    if (sizing.width() < minWidth) {
        if (draggingLeft)
            sizing.left = sizing.right - minWidth;
        else
            sizing.right = sizing.left + minWidth;
    }
    if (sizing.height() < minHeight) {
        if (draggingTop)
            sizing.top = sizing.bottom - minHeight;
        else
            sizing.bottom = sizing.top + minHeight;
    }
    return sizing;
}

} // namespace quavera
