#include "taskbar_icons.h"

#include <shellapi.h>

#include "resource.h"

namespace quavera {
namespace {

struct Control {
    UINT icon;
    WORD command;
    const char* tip;
};

// In the order they are added; the play/pause control changes with the state.
constexpr Control kControls[] = {
    {IDI_PREVIOUS, IDC_PREVIOUS, "Previous song in queue"},
    {IDI_PLAY, IDC_PLAY, "Play"},
    {IDI_STOP, IDC_STOP, "Stop"},
    {IDI_NEXT, IDC_NEXT, "Next song in queue"},
};
constexpr Control kPauseControl = {IDI_PLAY, IDC_PAUSE, "Pause"};

const Control* ControlOf(UINT icon, bool playing) {
    if (icon == IDI_PLAY && playing) return &kPauseControl;
    for (const Control& control : kControls)
        if (control.icon == icon) return &control;
    return nullptr;
}

} // namespace

bool TaskbarIcons::Notify(DWORD action, UINT icon, const char* tip) const {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = icon;
    if (action != NIM_DELETE) {
        data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        data.uCallbackMessage = kTrayNotify;
        const UINT picture = icon == IDI_PLAY && shownPlaying_ ? IDI_PAUSE : icon;
        // Shared: the system keeps the icon for as long as the module lives.
        data.hIcon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(picture), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                   LR_SHARED));
        // The tip holds at most 63 characters, as on every version of the shell.
        constexpr int kTipSize = 64;
        lstrcpynA(data.szTip, tip ? tip : "", kTipSize);
    }
    return Shell_NotifyIconA(action, &data) != FALSE;
}

void TaskbarIcons::ShowProgramIcon(const std::string& tip) {
    tip_ = shownTip_ = tip;
    programShown_ = Notify(NIM_ADD, IDI_QUAVERA, shownTip_.c_str());
}

void TaskbarIcons::AddControls() const {
    for (const Control& control : kControls)
        Notify(NIM_ADD, control.icon, ControlOf(control.icon, shownPlaying_)->tip);
}

void TaskbarIcons::ShowControls() {
    if (controlsShown_) return;
    shownPlaying_ = playing_;
    AddControls();
    controlsShown_ = true;
}

void TaskbarIcons::HideControls() {
    for (const Control& control : kControls) Notify(NIM_DELETE, control.icon);
    controlsShown_ = false;
}

void TaskbarIcons::SetTip(const std::string& tip) {
    tip_ = tip;
    RequestUpdate();
}

void TaskbarIcons::ShowPlayState(bool playing) {
    playing_ = playing;
    RequestUpdate();
}

void TaskbarIcons::RequestUpdate() {
    if (updatePending_ || (tip_ == shownTip_ && playing_ == shownPlaying_)) return;
    updatePending_ = PostMessageA(owner_, kTrayUpdate, 0, 0) != FALSE;
}

void TaskbarIcons::Update() {
    updatePending_ = false;
    if (tip_ != shownTip_) {
        shownTip_ = tip_;
        if (programShown_) Notify(NIM_MODIFY, IDI_QUAVERA, shownTip_.c_str());
    }
    if (playing_ != shownPlaying_) {
        shownPlaying_ = playing_;
        if (controlsShown_) Notify(NIM_MODIFY, IDI_PLAY, ControlOf(IDI_PLAY, shownPlaying_)->tip);
    }
}

void TaskbarIcons::RemoveAll() {
    HideControls();
    if (programShown_) Notify(NIM_DELETE, IDI_QUAVERA);
    programShown_ = false;
}

void TaskbarIcons::ShowAgain() {
    if (programShown_) Notify(NIM_ADD, IDI_QUAVERA, shownTip_.c_str());
    if (controlsShown_) AddControls();
}

WORD TaskbarIcons::CommandOf(UINT icon, bool playing) {
    const Control* control = ControlOf(icon, playing);
    return control ? control->command : 0;
}

UINT TaskbarIcons::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

} // namespace quavera
