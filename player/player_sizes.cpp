// The main dialog's sizes and hiding, its icons in the taskbar's
// notification area, and its minimised window: the controls in the system
// menu and the title that scrolls.
#include <windows.h>

#include "player_app.h"
#include "player_commands.h"
#include "player_dialog.h"
#include "registry_values.h"
#include "resource.h"
#include "tamblin1.h"
#include "winbasic.h"

namespace quavera {
namespace {

constexpr const char* kSystemMenuPopup = "Quavera Controls";

bool EnginePlays() {
    const StreamStatus& status = *tamblin::GetPlaybackStatus();
    return status.playing && !status.paused;
}

void StoreDialogState(int state) { WriteRegInt(reg::kConfigurationKey, reg::kDialogState, static_cast<DWORD>(state)); }

} // namespace

void PlayerDialog::SetDialogSize(int size) {
    // A hidden dialog asked for the size it has comes back in it.
    if (hidden_ ? size == kHideDialog : size == dialogSize_) return;
    if (size == kHideDialog) {
        hidden_ = true;
        ShowWindow(window(), SW_HIDE);
        StoreDialogState(kHideDialog);
        return;
    }
    hidden_ = false;
    if (size == kShowDialogAgain) {
        ShowWindow(window(), IsIconic(window()) ? SW_RESTORE : SW_SHOW);
        StoreDialogState(dialogSize_);
        FocusOpenButton();
        return;
    }
    dialogSize_ = size;
    StoreDialogState(size);
    // Arranged before it is shown, so that the old layout does not flash.
    ArrangeDialog();
    ShowWindow(window(), SW_SHOWNORMAL);
    SetForegroundWindow(window());
}

void PlayerDialog::ArrangeDialog() {
    const auto size = static_cast<DialogSize>(dialogSize_);
    layout_.Arrange(size);
    section_.SetRoom(size == kLargeDialog);
    slider_.PlaceLabels();
    layout_.Fit(size, section_.wanted());
    // The keyboard's focus leaves a control the size hides.
    const HWND focus = GetFocus();
    if (focus && GetParent(focus) == window() && !IsWindowVisible(focus))
        SendMessageA(window(), WM_NEXTDLGCTL, 0, FALSE);
}

void PlayerDialog::RestoreDialogSize() {
    const int stored = reg::ReadSetting(reg::kDialogState, kLargeDialog);
    // A hidden player would be unreachable at start.
    if (stored == kHideDialog) StoreDialogState(kLargeDialog);
    if (stored == kMediumDialog || stored == kSmallDialog) SetDialogSize(stored);
}

void PlayerDialog::ShowQueueSection(bool wanted) {
    section_.SetWanted(wanted);
    if (dialogSize_ == kLargeDialog) layout_.Fit(kLargeDialog, wanted);
}

void PlayerDialog::ShowTaskbarControls(bool shown) {
    if (shown)
        tray_.ShowControls();
    else
        tray_.HideControls();
}

void PlayerDialog::OnTrayNotify(UINT icon, UINT mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONUP:
        // As from the keyboard: Stop rewinds the queue, Pause resumes.
        if (const WORD command = TaskbarIcons::CommandOf(icon, EnginePlays()))
            OnCommand(MAKEWPARAM(command, kAcceleratorCode), 0);
        break;
    case WM_LBUTTONDBLCLK:
        if (icon != IDI_QUAVERA) break;
        SetForegroundWindow(window());
        SetDialogSize(hidden_ ? kShowDialogAgain : kHideDialog);
        break;
    case WM_RBUTTONUP: {
        if (icon != IDI_QUAVERA) break;
        POINT cursor{};
        GetCursorPos(&cursor);
        // The menu of a window in the foreground closes when the user clicks
        // elsewhere; the posted message lets it close before the next click.
        SetForegroundWindow(window());
        const UINT command = OnContextMenu(cursor.x, cursor.y, TPM_RETURNCMD);
        PostMessageA(window(), WM_NULL, 0, 0);
        if (command != 0) OnCommand(MAKEWPARAM(command, kAcceleratorCode), 0);
        break;
    }
    default: break;
    }
}

void PlayerDialog::RefreshMenuStates(HMENU popup) const {
    CheckMenuItem(popup, IDC_RANDOM, MF_BYCOMMAND | (queue_.random() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, IDC_ENDLESS, MF_BYCOMMAND | (queue_.endless() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, IDM_HIDE, MF_BYCOMMAND | (hidden_ ? MF_CHECKED : MF_UNCHECKED));
}

void PlayerDialog::OnMinimised() {
    minimised_ = true;
    RefreshScroller();
    // A copy of the context menu's popup: the system menu owns it until it
    // is reset, and the context menu stays for the notification area.
    const HMENU system = GetSystemMenu(window(), FALSE);
    const Menu copy(LoadMenuA(app_.instance(), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
    const HMENU popup = GetSubMenu(copy.get(), 0);
    if (!system || !popup) return;
    RemoveMenu(copy.get(), 0, MF_BYPOSITION);
    InsertMenuA(system, 0, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                kSystemMenuPopup);
    InsertMenuA(system, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void PlayerDialog::OnRestored() {
    minimised_ = false;
    GetSystemMenu(window(), TRUE);
    scroller_.Reset();
    SetWindowTextA(window(), captionText_.c_str());
    // The time was not drawn while the dialog was minimised.
    ShowTrackTime(EnginePositionMs());
}

bool PlayerDialog::OnSystemCommand(WPARAM command) {
    // The system's own commands lie from 0xF000 on; below are the player's,
    // from the popup of its controls.
    if ((command & 0xFFF0) >= 0xF000) return false;
    PostMessageA(window(), WM_COMMAND, LOWORD(command), 0);
    return true;
}

void PlayerDialog::OnTick() {
    if (!IsIconic(window()) || !scrollerEnabled_) {
        scroller_.Reset();
        return;
    }
    if (captionText_.empty()) return;
    const std::string text = MinimisedTitle();
    const std::string title = scroller_.Next(text, TitleFits(text));
    char shown[512] = {};
    GetWindowTextA(window(), shown, sizeof shown);
    if (title != shown) SetWindowTextA(window(), title.c_str());
}

void PlayerDialog::RefreshScroller() {
    scroller_.Reset();
    if (!IsIconic(window())) return;
    if (scrollerEnabled_)
        OnTick();
    else
        SetWindowTextA(window(), MinimisedTitle().c_str());
}

bool PlayerDialog::TitleFits(const std::string& title) const {
    SIZE extent{};
    GetTextExtentPoint32A(WindowFontDC(window()).get(), title.c_str(), static_cast<int>(title.size()), &extent);
    RECT rect{};
    GetWindowRect(window(), &rect);
    return extent.cx <= rect.right - rect.left;
}

} // namespace quavera
