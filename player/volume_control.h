#pragma once
// The volume slider, the volume picture and the mixer that reports volume
// changes made outside the player.
#include <windows.h>

#include <array>

#include "volume_level.h"
#include "win_handles.h"

namespace quavera {

class VolumeControl {
public:
    void Attach(HWND dialog, HINSTANCE instance);
    // Moves slider and picture to a wave-out level without changing the device.
    void Show(unsigned level);
    // A scroll event of the slider: the device follows the slider.
    void OnScroll(int code, int thumbPosition);
    void OpenMixer(HWAVEOUT device, HWND callbackWindow);
    void CloseMixer() { mixer_.reset(); }
    // Mixer line or control change.
    void OnMixerChange();

private:
    HWND slider_ = nullptr;
    HWND picture_ = nullptr;
    std::array<GdiObject, kVolumePictures> pictures_;
    Mixer mixer_;
    // Set when the slider changed the volume, so that the mixer's echo of
    // that change does not move the slider back.
    bool changedBySlider_ = false;
};

} // namespace quavera
