#pragma once
// The pictures on the main dialog's buttons and their tool tips.
#include <windows.h>

#include <vector>

#include "win_handles.h"

namespace quavera {

class ButtonPictures {
public:
    void Attach(HWND dialog, HINSTANCE instance);

private:
    std::vector<GdiObject> bitmaps_;
};

} // namespace quavera
