#include "instance_marker.h"

#include "player_commands.h"
#include "registry_values.h"
#include "winbasic.h"

namespace quavera {
namespace {

constexpr const char* kAtomName = "Quavera MPEG Audio Player";

} // namespace

InstanceCheck InstanceMarker::Check(HWND dialog, const char* commandLine) {
    const ATOM found = GlobalFindAtomA(kAtomName);
    if (!found) {
        TakeOwnership(dialog, GlobalAddAtomA(kAtomName));
        return InstanceCheck::Owner;
    }
    atom_ = found;
    DWORD running = 0;
    const HWND other = ReadRegInt(reg::kConfigurationKey, reg::kRunningWindow, &running)
                           ? static_cast<HWND>(ULongToHandle(running))
                           : nullptr;
    if (!other || !IsWindow(other) || other == dialog) {
        // A copy that ended without clearing its marker.
        TakeOwnership(dialog, found);
        return InstanceCheck::Owner;
    }
    if (*commandLine) {
        WriteRegString(reg::kConfigurationKey, reg::kCommandLine, commandLine);
        PostMessageA(other, WM_COMMAND, CMD_HANDOVER, 0);
        return InstanceCheck::HandedOver;
    }
    const int answer = ShowMessage(
        dialog, "Another thread of Quavera is already running!\n\nDo your really want to run Quavera again?",
        "Quavera instance check", MB_YESNO | MB_ICONQUESTION);
    return answer == IDYES ? InstanceCheck::Guest : InstanceCheck::Declined;
}

void InstanceMarker::TakeOwnership(HWND dialog, ATOM atom) {
    atom_ = atom;
    owned_.reset(atom);
    WriteRegInt(reg::kConfigurationKey, reg::kRunningWindow, HandleToULong(dialog));
}

void InstanceMarker::Release() {
    if (!owned_) return;
    owned_.reset();
    WriteRegInt(reg::kConfigurationKey, reg::kRunningWindow, 0);
    WriteRegString(reg::kConfigurationKey, reg::kCommandLine, "");
}

} // namespace quavera
