#pragma once
// "Audio Device": the wave-out device, stereo or mono, 8 or 16 bit and the
// refresh method.
#include "engine_page.h"

namespace quavera {

class CAudioPlayback final : public EnginePage {
public:
    CAudioPlayback(DeviceCapabilities& model, const AudioDevices& devices, HWND player);

private:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void Refresh() override;

    const AudioDevices& devices_;
};

} // namespace quavera
