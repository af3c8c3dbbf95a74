#pragma once
// What the player's main dialog is sent as private commands (the settings
// sheet's requests, hand-overs): a message hook in the player's thread
// records every such command it takes from its queue, with the engine's
// playback position at that moment.
#include <windows.h>

#include <utility>
#include <vector>

namespace quavera::test {

// The record that the hook writes and the test reads, in shared memory.
struct CommandLog {
    static constexpr const char* kName = "QuaveraTestCommandLog";
    static constexpr WPARAM kFirst = 21381;
    static constexpr WPARAM kLast = 21388;
    LONG count;
    struct Entry {
        WPARAM command;
        LPARAM parameter;
        float positionMs;
    } entries[256];
};

class CommandSpy {
public:
    // Starts recording in the thread of the player's main dialog.
    explicit CommandSpy(HWND main);
    ~CommandSpy();
    CommandSpy(const CommandSpy&) = delete;
    CommandSpy& operator=(const CommandSpy&) = delete;

    bool active() const { return hook_ != nullptr; }
    // The commands taken so far, oldest first.
    std::vector<CommandLog::Entry> Entries() const;
    // The same as (command, parameter).
    std::vector<std::pair<WPARAM, LPARAM>> Commands() const;
    void Clear();

private:
    HANDLE mapping_ = nullptr;
    CommandLog* log_ = nullptr;
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
};

} // namespace quavera::test
