#pragma once
// The machine's wave-out devices as the capability model asks for them.
#include <windows.h>

#include "device_capabilities.h"

namespace quavera {

class WaveOutDevices final : public AudioDevices {
public:
    Platform platform() const override;
    int count() const override;
    std::string name(int device) const override;
    std::optional<std::uint32_t> formats(int device) const override;
};

} // namespace quavera
