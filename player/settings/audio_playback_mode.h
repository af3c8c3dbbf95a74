#pragma once
// "Playback Mode": the output rate ratio and the synthesis quality.
#include "engine_page.h"

namespace quavera {

class CAudioPlaybackMode final : public EnginePage {
public:
    CAudioPlaybackMode(DeviceCapabilities& model, HWND player);

private:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void Refresh() override;
};

} // namespace quavera
