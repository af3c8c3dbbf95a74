#include "window_placement.h"

namespace quavera {

bool PositionFitsDesktop(const ScreenRect& desktop, int x, int y, int width, int /*height*/) {
    constexpr int kVisible = 5;
    return y >= desktop.top && desktop.bottom >= y + kVisible && desktop.right >= x + kVisible &&
           x + width + kVisible >= desktop.left;
}

} // namespace quavera
