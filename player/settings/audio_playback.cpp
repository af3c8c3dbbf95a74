#include "audio_playback.h"

#include "resource.h"

namespace quavera {
namespace {

constexpr ChoiceButton kButtons[] = {
    {IDC_BITS_8, Choice::Bits8},          {IDC_BITS_16, Choice::Bits16},
    {IDC_MONO, Choice::Mono},             {IDC_STEREO, Choice::Stereo},
    {IDC_METHOD_TIMER, Choice::Method1},  {IDC_METHOD_THREAD, Choice::Method2},
    {IDC_METHOD_DEVICE, Choice::Method3},
};

} // namespace

CAudioPlayback::CAudioPlayback(DeviceCapabilities& model, const AudioDevices& devices, HWND player)
    : EnginePage(IDD_AUDIO_PLAYBACK, model, player), devices_(devices) {}

BOOL CAudioPlayback::OnInitDialog() {
    SendDlgItemMessageA(window(), IDC_DEVICE_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Windows WAVE Mapper"));
    for (int device = 0; device < devices_.count(); ++device) {
        const std::string name = devices_.name(device);
        SendDlgItemMessageA(window(), IDC_DEVICE_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    FinishInit();
    return TRUE;
}

void CAudioPlayback::OnCommand(int id, int code) {
    if (id == IDC_DEVICE_LIST) {
        if (code != CBN_SELCHANGE) return;
        const auto index = static_cast<int>(SendDlgItemMessageA(window(), IDC_DEVICE_LIST, CB_GETCURSEL, 0, 0));
        // The first entry is the wave mapper, -1.
        if (index != CB_ERR) EndAction(model().SelectDevice(index - 1));
        return;
    }
    if (code == BN_CLICKED) ChooseByButton(id, kButtons);
}

void CAudioPlayback::Refresh() {
    for (const ChoiceButton& button : kButtons) ShowChoice(button);
    SendDlgItemMessageA(window(), IDC_DEVICE_LIST, CB_SETCURSEL, static_cast<WPARAM>(model().values().device + 1), 0);
}

} // namespace quavera
