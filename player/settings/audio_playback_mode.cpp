#include "audio_playback_mode.h"

#include "resource.h"

namespace quavera {
namespace {

constexpr ChoiceButton kButtons[] = {
    {IDC_RATIO_1, Choice::Ratio1},           {IDC_RATIO_2, Choice::Ratio2},
    {IDC_RATIO_4, Choice::Ratio4},           {IDC_QUALITY_BEST, Choice::Quality1},
    {IDC_QUALITY_BETTER, Choice::Quality2},  {IDC_QUALITY_GOOD, Choice::Quality3},
};

} // namespace

CAudioPlaybackMode::CAudioPlaybackMode(DeviceCapabilities& model, HWND player)
    : EnginePage(IDD_AUDIO_PLAYBACK_MODE, model, player) {}

BOOL CAudioPlaybackMode::OnInitDialog() {
    FinishInit();
    return TRUE;
}

void CAudioPlaybackMode::OnCommand(int id, int code) {
    if (code == BN_CLICKED) ChooseByButton(id, kButtons);
}

void CAudioPlaybackMode::Refresh() {
    for (const ChoiceButton& button : kButtons) ShowChoice(button);
}

} // namespace quavera
