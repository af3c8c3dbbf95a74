#include "wave_out_devices.h"

#include <windows.h>

#include <mmsystem.h>

namespace quavera {
namespace {

// -1 is the wave mapper.
std::optional<WAVEOUTCAPSA> Capabilities(int device) {
    WAVEOUTCAPSA caps{};
    const UINT_PTR id = device == -1 ? WAVE_MAPPER : static_cast<UINT_PTR>(device);
    if (device < -1 || waveOutGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR) return std::nullopt;
    return caps;
}

} // namespace

Platform WaveOutDevices::platform() const {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return Platform::WindowsNT;
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s: return Platform::Win32s;
    case VER_PLATFORM_WIN32_WINDOWS: return Platform::Windows9x;
    default: return Platform::WindowsNT;
    }
}

int WaveOutDevices::count() const { return static_cast<int>(waveOutGetNumDevs()); }

std::string WaveOutDevices::name(int device) const {
    const auto caps = Capabilities(device);
    return caps ? std::string(caps->szPname, strnlen(caps->szPname, sizeof caps->szPname)) : std::string();
}

std::optional<std::uint32_t> WaveOutDevices::formats(int device) const {
    const auto caps = Capabilities(device);
    if (!caps) return std::nullopt;
    return static_cast<std::uint32_t>(caps->dwFormats);
}

} // namespace quavera
