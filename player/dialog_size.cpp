#include "dialog_size.h"

#include "dialog.h"
#include "resource.h"
#include "win_handles.h"

namespace quavera {
namespace {

constexpr int kTemplates[kDialogSizes] = {IDD_PLAYER_LARGE, IDD_PLAYER_MEDIUM, IDD_PLAYER_SMALL};
// The identifiers a template places; the labels and group captions that
// never move carry none.
constexpr int kLastPlacedId = 1999;

INT_PTR CALLBACK TemplateProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The outer size of a window whose client area has the size given.
SIZE OuterSize(HWND window, int clientWidth, int clientHeight) {
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & ~WS_MINIMIZE, FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

void DialogLayout::Attach(HWND dialog, HINSTANCE instance) {
    dialog_ = dialog;
    instance_ = instance;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id >= 0 && id <= kLastPlacedId) controls_.push_back(id);
    }
    // Without the track section the dialog ends with the same margin on the
    // right as the position slider has on the left.
    const RECT slider = ChildRect(GetDlgItem(dialog, IDC_POSITION));
    narrowWidth_ = slider.right + slider.left;
    RECT client{};
    GetClientRect(dialog, &client);
    wideWidth_ = client.right;
    largeHeight_ = client.bottom;
}

void DialogLayout::Arrange(DialogSize size) const {
    // Made invisible, in the dialog's font, only to be measured.
    const ChildWindow layout(
        CreateDialogParamA(instance_, MAKEINTRESOURCEA(kTemplates[size]), dialog_, TemplateProcedure, 0));
    if (!layout) return;
    for (const int id : controls_) {
        const HWND control = GetDlgItem(dialog_, id);
        const HWND placed = GetDlgItem(layout.get(), id);
        if (!placed) {
            ShowWindow(control, SW_HIDE);
            continue;
        }
        const RECT rect = ChildRect(placed);
        const bool shown = (GetWindowLongPtrA(placed, GWL_STYLE) & WS_VISIBLE) != 0;
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    InvalidateRect(dialog_, nullptr, TRUE);
}

void DialogLayout::Fit(DialogSize size, bool wide) const {
    const int width = size == kLargeDialog && wide ? wideWidth_ : narrowWidth_;
    const int height = size == kLargeDialog ? largeHeight_ : ChildRect(GetDlgItem(dialog_, IDC_BOTTOM_EDGE)).top;
    const SIZE outer = OuterSize(dialog_, width, height);
    // A minimised window keeps its new size for when it is restored.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(dialog_) && GetWindowPlacement(dialog_, &placement)) {
        placement.rcNormalPosition.right = placement.rcNormalPosition.left + outer.cx;
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + outer.cy;
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(dialog_, &placement);
        return;
    }
    RECT rect{};
    GetWindowRect(dialog_, &rect);
    if (rect.right - rect.left == outer.cx && rect.bottom - rect.top == outer.cy) return;
    SetWindowPos(dialog_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace quavera
