#pragma once
// The settings sheet, "Quavera Properties": three pages of the engine's
// playback configuration over one capability model, the player's controls
// and its Internet options.
#include <windows.h>

#include "audio_buffers.h"
#include "audio_playback.h"
#include "audio_playback_mode.h"
#include "device_capabilities.h"
#include "dialog_config.h"
#include "internet_properties.h"
#include "wave_out_devices.h"

namespace quavera {

class CPropertyPlayback {
public:
    // player: the main dialog, which owns the sheet and gets its commands.
    explicit CPropertyPlayback(HWND player);
    CPropertyPlayback(const CPropertyPlayback&) = delete;
    CPropertyPlayback& operator=(const CPropertyPlayback&) = delete;

    // Modal; true when closed with OK.
    bool Run(HINSTANCE instance);

private:
    HWND player_;
    WaveOutDevices devices_;
    DeviceCapabilities model_;
    CAudioPlayback audioPlayback_;
    CAudioPlaybackMode playbackMode_;
    CAudioBuffers buffers_;
    CDialogConfig controls_;
    CInternetProperties internet_;
};

} // namespace quavera
