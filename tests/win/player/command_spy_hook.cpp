// The message hook that CommandSpy sets: loaded into the player by the
// system, it appends each private command the player's thread takes from its
// queue to the shared command log.
#include <windows.h>

#include <iterator>

#include "command_spy.h"

namespace {

quavera::test::CommandLog* OpenLog() {
    static quavera::test::CommandLog* log = [] {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, quavera::test::CommandLog::kName);
        return mapping ? static_cast<quavera::test::CommandLog*>(
                             MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(quavera::test::CommandLog)))
                       : nullptr;
    }();
    return log;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK RecordCommands(int code, WPARAM wParam, LPARAM lParam) {
    using quavera::test::CommandLog;
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_COMMAND &&
        message->wParam >= CommandLog::kFirst && message->wParam <= CommandLog::kLast) {
        if (CommandLog* log = OpenLog()) {
            const LONG slot = log->count;
            if (slot < static_cast<LONG>(std::size(log->entries))) {
                log->entries[slot] = {message->wParam, message->lParam};
                InterlockedExchange(&log->count, slot + 1);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
