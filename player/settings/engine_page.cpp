#include "engine_page.h"

#include "player_commands.h"
#include "tamblin1.h"

namespace quavera {

void LoadFromEngine(DeviceCapabilities& model) {
    PlaybackChoices v;
    tamblin::ReadPlaybackConfiguration(&v.divisor, &v.quality, &v.channels, &v.bits, &v.buffers,
                                       &v.framesPerBuffer, &v.method, &v.device);
    model.Load(v);
}

void EnginePage::FinishInit() {
    Refresh();
    initialised_ = true;
    changed_ = false;
}

void EnginePage::EndAction(bool changed) {
    if (changed) changed_ = true;
    RequestSiblingRefresh();
}

void EnginePage::OnSiblingRefresh() {
    Refresh();
    if (initialised_) MarkModified();
}

void EnginePage::ShowChoice(const ChoiceButton& button) const {
    CheckDlgButton(window(), button.id, model_.IsChosen(button.choice) ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(window(), button.id, BM_SETSTATE, model_.allowed(button.choice) ? FALSE : TRUE, 0);
}

bool EnginePage::ChooseByButton(int id, std::span<const ChoiceButton> buttons) {
    for (const ChoiceButton& button : buttons) {
        if (button.id != id) continue;
        EndAction(model_.Choose(button.choice));
        return true;
    }
    return false;
}

void EnginePage::OnApply() {
    if (!changed_) return;
    const PlaybackChoices& v = model_.values();
    tamblin::WritePlaybackConfiguration(v.divisor, v.quality, v.channels, v.bits, v.buffers, v.framesPerBuffer,
                                        v.method, v.device);
    PostMessageA(player_, WM_COMMAND, CMD_RESTART_AT_POSITION, 0);
    changed_ = false;
}

void EnginePage::OnReset() {
    LoadFromEngine(model_);
    RequestSiblingRefresh();
}

} // namespace quavera
