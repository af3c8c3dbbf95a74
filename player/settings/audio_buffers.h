#pragma once
// "Buffers": the size of the engine's block ring, and continuous playback.
#include "engine_page.h"

namespace quavera {

class CAudioBuffers final : public EnginePage {
public:
    CAudioBuffers(DeviceCapabilities& model, HWND player);

private:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnScroll(HWND control) override;
    void OnApply() override;
    void OnReset() override;
    void Refresh() override;
    void ShowContinuousMode();
};

} // namespace quavera
