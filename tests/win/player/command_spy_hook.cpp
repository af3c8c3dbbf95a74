// The message hook that CommandSpy sets: loaded into the player by the
// system, it appends each private command the player's thread takes from its
// queue to the shared command log, with the position the engine reports.
#include <windows.h>

#include <cstring>
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

// The engine's position now, in milliseconds, through its status export.
float EnginePositionMs() {
    using Status = const unsigned char* (__stdcall*)();
    static const auto status = reinterpret_cast<Status>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("Tamblin1.dll"), "_DLL_Entry_000_009@0")));
    // The record's position lies 520 bytes in, on both builds.
    constexpr std::size_t kPositionOffset = 520;
    float position = -1;
    if (const unsigned char* record = status ? status() : nullptr)
        std::memcpy(&position, record + kPositionOffset, sizeof position);
    return position;
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
                log->entries[slot] = {message->wParam, message->lParam, EnginePositionMs()};
                InterlockedExchange(&log->count, slot + 1);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
