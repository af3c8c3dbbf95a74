#pragma once
// The player's icons in the taskbar's notification area: the program icon,
// whose tip is the caption, from start to exit, and the four playback
// controls while the settings ask for them. Their mouse messages come to the
// owner as kTrayNotify with the icon's id and the mouse message.
#include <windows.h>

#include <string>

namespace quavera {

constexpr UINT kTrayNotify = 21382;

class TaskbarIcons {
public:
    void Attach(HWND owner, HINSTANCE instance) {
        owner_ = owner;
        instance_ = instance;
    }
    void ShowProgramIcon(const std::string& tip);
    // Sets the program icon's tip (cut to 63 characters).
    void SetTip(const std::string& tip);
    // Adds the controls once, in the order previous, play or pause, stop, next.
    void ShowControls();
    void HideControls();
    bool controlsShown() const { return controlsShown_; }
    // The play/pause control shows pause and its tip while playing, else play.
    void ShowPlayState(bool playing);
    void RemoveAll();
    // The shell's taskbar was made again (the shell restarted): puts back
    // what was shown.
    void ShowAgain();

    // The command a left click on a control runs (0 for the program icon).
    static WORD CommandOf(UINT icon, bool playing);
    // The message the shell sends every window when its taskbar was made again.
    static UINT TaskbarCreatedMessage();

private:
    bool Notify(DWORD action, UINT icon, const char* tip = nullptr) const;
    void AddControls() const;

    HWND owner_ = nullptr;
    HINSTANCE instance_ = nullptr;
    bool programShown_ = false;
    bool controlsShown_ = false;
    bool playing_ = false;
    std::string tip_;
};

} // namespace quavera
