#pragma once
// The player's icons in the taskbar's notification area: the program icon,
// whose tip is the caption, from start to exit, and the four playback
// controls while the settings ask for them. Their mouse messages come to the
// owner as kTrayNotify with the icon's id and the mouse message.
#include <windows.h>

#include <string>

namespace quavera {

constexpr UINT kTrayNotify = 21382;
// Posted by the icons to their owner, which hands it back to Update.
constexpr UINT kTrayUpdate = WM_APP + 1;

class TaskbarIcons {
public:
    void Attach(HWND owner, HINSTANCE instance) {
        owner_ = owner;
        instance_ = instance;
    }
    void ShowProgramIcon(const std::string& tip);
    // Adds the controls once, in the order previous, play or pause, stop, next.
    void ShowControls();
    void HideControls();
    bool controlsShown() const { return controlsShown_; }
    void RemoveAll();
    // The shell's taskbar was made again (the shell restarted): puts back
    // what was shown.
    void ShowAgain();

    // The program icon's tip (cut to 63 characters), and the play/pause
    // control, which shows pause and its tip while playing, else play. The
    // shell learns of them once the owner's current message is done: the
    // shell answers late at times, and while the owner waits for it, it
    // would answer others from the middle of a change.
    void SetTip(const std::string& tip);
    void ShowPlayState(bool playing);
    // Tells the shell of the tip and the play state.
    void Update();

    // The command a left click on a control runs (0 for the program icon).
    static WORD CommandOf(UINT icon, bool playing);
    // The message the shell sends every window when its taskbar was made again.
    static UINT TaskbarCreatedMessage();

private:
    bool Notify(DWORD action, UINT icon, const char* tip = nullptr) const;
    void AddControls() const;
    void RequestUpdate();

    HWND owner_ = nullptr;
    HINSTANCE instance_ = nullptr;
    bool programShown_ = false;
    bool controlsShown_ = false;
    bool updatePending_ = false;
    // What the icons are to show, and what the shell was last told.
    std::string tip_;
    bool playing_ = false;
    std::string shownTip_;
    bool shownPlaying_ = false;
};

} // namespace quavera
