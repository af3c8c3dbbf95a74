#pragma once
// Owners for the player's GUI and multimedia handles, on the pattern of
// common/handles.h.
#include <windows.h>

#include "handles.h"

namespace quavera {

// Traits for a handle type that one API function closes.
template <typename H, auto Close>
struct ClosedBy {
    using Handle = H;
    static Handle invalid() { return H{}; }
    static void close(Handle h) { Close(h); }
};

using GdiObject = UniqueHandle<ClosedBy<HGDIOBJ, &DeleteObject>>;
using Menu = UniqueHandle<ClosedBy<HMENU, &DestroyMenu>>;
using ChildWindow = UniqueHandle<ClosedBy<HWND, &DestroyWindow>>;
using Mixer = UniqueHandle<ClosedBy<HMIXER, &mixerClose>>;
// A global atom that this process added, or took over, and so must delete.
using OwnedGlobalAtom = UniqueHandle<ClosedBy<ATOM, &GlobalDeleteAtom>>;

// A window's display context with the window's own font selected, to measure
// text as the window draws it; the font is deselected and the context
// released on destruction.
class WindowFontDC {
public:
    explicit WindowFontDC(HWND window)
        : window_(window), dc_(GetDC(window)),
          previous_(SelectObject(dc_, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)))) {}
    ~WindowFontDC() {
        SelectObject(dc_, previous_);
        ReleaseDC(window_, dc_);
    }
    WindowFontDC(const WindowFontDC&) = delete;
    WindowFontDC& operator=(const WindowFontDC&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace quavera
