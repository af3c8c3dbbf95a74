#pragma once
// How the playlist editor's window lays itself out when it is resized: each
// control keeps its distance to the edges it is anchored to, and the window
// keeps at least its first size.
namespace quavera {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};

// A control that is not anchored keeps its place and size towards the top
// left corner. Moving keeps the distance to the right or bottom edge;
// stretching keeps the distances to both edges.
enum Anchor : unsigned {
    kMoveRight = 1,
    kMoveDown = 2,
    kStretchWide = 4,
    kStretchHigh = 8,
};

// Where a control laid out at `initial` goes when the window has grown by
// (dx, dy) from its first size.
Box AnchoredBox(const Box& initial, unsigned anchors, int dx, int dy);

// The sizing rectangle of a window being resized, held at the least width
// and height: on the side being dragged (the left or top edge when those are
// dragged), so that the other side stays where it is.
Box HoldMinimumSize(Box sizing, bool draggingLeft, bool draggingTop, int minWidth, int minHeight);

} // namespace quavera
