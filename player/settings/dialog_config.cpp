#include "dialog_config.h"

#include <iterator>

#include "player_commands.h"
#include "registry_values.h"
#include "resource.h"
#include "winbasic.h"

namespace quavera {
namespace {

// In the order of the "DialogState" values.
constexpr const char* kSizes[] = {
    "Large dialog (all controls, multi track display)",
    "Medium dialog (playback + general controls)",
    "Small dialog (playback controls only)",
    "Hide dialog (no window, no taskbar entry)",
};

void Post(HWND player, WPARAM command, LPARAM parameter = 0) { PostMessageA(player, WM_COMMAND, command, parameter); }

} // namespace

CDialogConfig::CDialogConfig(HWND player) : PropertyPage(IDD_DIALOG_CONFIG), player_(player) {}

BOOL CDialogConfig::OnInitDialog() {
    for (const char* size : kSizes)
        SendDlgItemMessageA(window(), IDC_DIALOG_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    ReadValues();
    ShowValues();
    changed_ = false;
    return TRUE;
}

void CDialogConfig::ReadValues() {
    taskBar_ = reg::ReadSetting(reg::kTaskBar, 1) != 0;
    scroller_ = reg::ReadSetting(reg::kScrollCaption, 1) != 0;
    // A stored size the list does not have shows as the large dialog.
    dialogSize_ = reg::ReadSetting(reg::kDialogState, 0);
    if (dialogSize_ < 0 || dialogSize_ >= static_cast<int>(std::size(kSizes))) dialogSize_ = 0;
}

void CDialogConfig::ShowValues() {
    CheckDlgButton(window(), IDC_TASKBAR_CONTROLS, taskBar_ ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window(), IDC_SCROLLER, scroller_ ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(window(), IDC_DIALOG_SIZE, CB_SETCURSEL, static_cast<WPARAM>(dialogSize_), 0);
}

// Only what the user does counts: a control changed by the program does not
// hold the focus.
void CDialogConfig::OnCommand(int id, int code) {
    bool* toggled = nullptr;
    if (id == IDC_TASKBAR_CONTROLS) toggled = &taskBar_;
    if (id == IDC_SCROLLER) toggled = &scroller_;
    if (toggled && code == BN_CLICKED && HasFocus(id)) {
        *toggled = !*toggled;
        CheckDlgButton(window(), id, *toggled ? BST_CHECKED : BST_UNCHECKED);
    } else if (id == IDC_DIALOG_SIZE && code == CBN_SELCHANGE && HasFocus(id)) {
        const auto index = static_cast<int>(SendDlgItemMessageA(window(), IDC_DIALOG_SIZE, CB_GETCURSEL, 0, 0));
        if (index == CB_ERR || index == dialogSize_) return;
        dialogSize_ = index;
    } else {
        return;
    }
    changed_ = true;
    MarkModified();
}

void CDialogConfig::OnApply() {
    if (!changed_) return;
    WriteRegInt(reg::kConfigurationKey, reg::kTaskBar, taskBar_ ? 1 : 0);
    WriteRegInt(reg::kConfigurationKey, reg::kScrollCaption, scroller_ ? 1 : 0);
    WriteRegInt(reg::kConfigurationKey, reg::kDialogState, static_cast<DWORD>(dialogSize_));
    Post(player_, taskBar_ ? CMD_TASKBAR_SHOW : CMD_TASKBAR_HIDE);
    Post(player_, scroller_ ? CMD_SCROLLER_ON : CMD_SCROLLER_OFF);
    Post(player_, CMD_SET_DIALOG_SIZE, dialogSize_);
    changed_ = false;
}

void CDialogConfig::OnReset() {
    ReadValues();
    ShowValues();
    MarkModified();
}

} // namespace quavera
