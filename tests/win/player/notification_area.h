#pragma once
// The taskbar's notification area as Wine shows it under a bare X server:
// its own "Wine System Tray" window, one child window per icon, in the order
// the icons were added, and one tooltip control per icon in the shell's
// process. The tests read the icons and their tips there and click them as
// the mouse does.
#include <windows.h>

#include <string>
#include <vector>

namespace quavera::test {

struct NotificationIcon {
    HWND window;
    std::string tip;
};

// The icons shown, left to right; none when the area is not shown.
std::vector<NotificationIcon> NotificationIcons();
// The tips of the icons, left to right.
std::vector<std::string> NotificationTips();
// The mouse on an icon: a click, a double click or a click of the right
// button; the icon tells its owner.
void ClickIcon(HWND icon);
void DoubleClickIcon(HWND icon);
void RightClickIcon(HWND icon);
// The screen's pixels of the icon, to compare two of its pictures.
std::vector<COLORREF> IconPixels(HWND icon);

} // namespace quavera::test
