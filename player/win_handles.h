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

} // namespace quavera
