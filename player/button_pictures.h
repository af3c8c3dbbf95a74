#pragma once
// The pictures on the buttons of the player's dialogs, and the tool tips of
// their controls.
#include <windows.h>

#include <span>
#include <vector>

#include "win_handles.h"

namespace quavera {

struct ButtonPicture {
    int control;
    int bitmap;
};

// A control's tool tip: its text, or a string resource named by
// MAKEINTRESOURCE.
struct ControlTip {
    int control;
    const char* text;
};

class ButtonPictures {
public:
    // The main dialog's pictures and tips.
    void Attach(HWND dialog, HINSTANCE instance);
    // The buttons' pictures, with the button face's colour mapped in; they
    // live as long as this object.
    void Load(HWND dialog, HINSTANCE instance, std::span<const ButtonPicture> pictures);

private:
    std::vector<GdiObject> bitmaps_;
};

// Gives the dialog's controls their tips, in a tool tip window that the
// dialog owns and destroys with itself.
void AddToolTips(HWND dialog, HINSTANCE instance, std::span<const ControlTip> tips);

} // namespace quavera
