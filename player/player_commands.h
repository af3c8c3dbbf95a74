#pragma once
// The player's private command ids, posted as WM_COMMAND to the main dialog
// by a second copy of the program and by the settings sheet.
#include <windows.h>

namespace quavera {

// The notification code of a command from the keyboard's accelerators; the
// commands of the notification area's icons come as such too.
constexpr WORD kAcceleratorCode = 1;

constexpr WPARAM CMD_HANDOVER = 21381;
constexpr WPARAM CMD_RESTART_AT_POSITION = 21383;
// The appearance the settings sheet asks for; the dialog size comes as lParam.
constexpr WPARAM CMD_TASKBAR_SHOW = 21384;
constexpr WPARAM CMD_TASKBAR_HIDE = 21385;
constexpr WPARAM CMD_SCROLLER_ON = 21386;
constexpr WPARAM CMD_SCROLLER_OFF = 21387;
constexpr WPARAM CMD_SET_DIALOG_SIZE = 21388;

} // namespace quavera
