#pragma once
// The player's private command ids, posted as WM_COMMAND to the main dialog
// by a second copy of the program and by the settings sheet.
#include <windows.h>

namespace quavera {

constexpr WPARAM CMD_HANDOVER = 21381;
constexpr WPARAM CMD_RESTART_AT_POSITION = 21383;

} // namespace quavera
