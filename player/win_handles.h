#pragma once
// Owners for the player's GUI and multimedia handles, on the pattern of
// common/handles.h.
#include <windows.h>

#include "handles.h"

namespace quavera {

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DeleteObject(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyMenu(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyWindow(h); }
};
struct MixerTraits {
    using Handle = HMIXER;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { mixerClose(h); }
};
// A global atom that this process added and so must delete.
struct GlobalAtomTraits {
    using Handle = ATOM;
    static Handle invalid() { return 0; }
    static void close(Handle h) { GlobalDeleteAtom(h); }
};

using GdiObject = UniqueHandle<GdiObjectTraits>;
using Menu = UniqueHandle<MenuTraits>;
using ChildWindow = UniqueHandle<WindowTraits>;
using Mixer = UniqueHandle<MixerTraits>;
using OwnedGlobalAtom = UniqueHandle<GlobalAtomTraits>;

} // namespace quavera
