#include "audio_buffers.h"

#include <commctrl.h>

#include "buffer_size.h"
#include "registry_values.h"
#include "resource.h"
#include "winbasic.h"

namespace quavera {

CAudioBuffers::CAudioBuffers(DeviceCapabilities& model, HWND player)
    : EnginePage(IDD_AUDIO_BUFFERS, model, player) {}

BOOL CAudioBuffers::OnInitDialog() {
    SendDlgItemMessageA(window(), IDC_BUFFER_SLIDER, TBM_SETRANGE, FALSE, MAKELPARAM(kBufferSliderMin, kBufferSliderMax));
    ShowContinuousMode();
    FinishInit();
    return TRUE;
}

void CAudioBuffers::ShowContinuousMode() {
    const bool disabled = reg::ReadSetting(reg::kDisableContinuous, 0) != 0;
    CheckDlgButton(window(), IDC_DISABLE_CONTINUOUS, disabled ? BST_CHECKED : BST_UNCHECKED);
}

void CAudioBuffers::OnCommand(int id, int code) {
    if (id == IDC_DISABLE_CONTINUOUS && code == BN_CLICKED) MarkModified();
}

void CAudioBuffers::OnScroll(HWND control) {
    if (control != GetDlgItem(window(), IDC_BUFFER_SLIDER)) return;
    const auto position = static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
    EndAction(model().SetBuffers(BuffersForSliderPosition(position, model().values().framesPerBuffer)));
}

void CAudioBuffers::Refresh() {
    const PlaybackChoices& v = model().values();
    const int position = BufferSliderPosition(v.buffers, v.framesPerBuffer);
    SendDlgItemMessageA(window(), IDC_BUFFER_SLIDER, TBM_SETPOS, TRUE, position);
    SetDlgItemTextA(window(), IDC_BUFFER_TEXT, BufferSizeText(position).c_str());
}

void CAudioBuffers::OnApply() {
    EnginePage::OnApply();
    WriteRegInt(reg::kConfigurationKey, reg::kDisableContinuous,
                IsDlgButtonChecked(window(), IDC_DISABLE_CONTINUOUS) == BST_CHECKED ? 1 : 0);
}

void CAudioBuffers::OnReset() {
    EnginePage::OnReset();
    ShowContinuousMode();
}

} // namespace quavera
