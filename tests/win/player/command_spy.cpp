#include "command_spy.h"

namespace quavera::test {

CommandSpy::CommandSpy(HWND main) {
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CommandLog),
                                  CommandLog::kName);
    if (!mapping_) return;
    log_ = static_cast<CommandLog*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(CommandLog)));
    module_ = LoadLibraryA("command_spy_hook.dll");
    if (!log_ || !module_) return;
    Clear();
    // Through void*: the exported address is the hook procedure.
    const auto record =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module_, "RecordCommands")));
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    if (record && thread) hook_ = SetWindowsHookExA(WH_GETMESSAGE, record, module_, thread);
}

CommandSpy::~CommandSpy() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (module_) FreeLibrary(module_);
    if (log_) UnmapViewOfFile(log_);
    if (mapping_) CloseHandle(mapping_);
}

std::vector<CommandLog::Entry> CommandSpy::Entries() const {
    if (!log_) return {};
    const LONG count = InterlockedCompareExchange(&log_->count, 0, 0);
    return {log_->entries, log_->entries + count};
}

std::vector<std::pair<WPARAM, LPARAM>> CommandSpy::Commands() const {
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    for (const CommandLog::Entry& entry : Entries()) commands.emplace_back(entry.command, entry.parameter);
    return commands;
}

void CommandSpy::Clear() {
    if (log_) InterlockedExchange(&log_->count, 0);
}

} // namespace quavera::test
