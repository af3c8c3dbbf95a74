#pragma once
// The engine's wave-out device: opened in the PCM format of the current stream
// and kept open across stop and end of stream until a stream needs another
// format (or the player asks to close it).
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

namespace quavera {

struct PcmFormat {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    bool operator==(const PcmFormat&) const = default;
};

class WaveDevice {
public:
    using Callback = void(CALLBACK*)(HWAVEOUT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR);

    WaveDevice() = default;
    ~WaveDevice() { close(); }
    WaveDevice(const WaveDevice&) = delete;
    WaveDevice& operator=(const WaveDevice&) = delete;

    // callback null: no notification; else it gets instance with every
    // notification. deviceId -1 is the system's default device.
    MMRESULT open(int deviceId, const PcmFormat& format, Callback callback, void* instance);
    MMRESULT close();
    bool isOpen() const { return handle_ != nullptr; }
    HWAVEOUT handle() const { return handle_; }
    const PcmFormat& format() const { return format_; }
    bool notifies() const { return notifies_; }

    // Volume as one word: left in the low 16 bits, right in the high 16 bits.
    bool volume(DWORD& value) const;
    bool setVolume(DWORD value) const;

private:
    HWAVEOUT handle_ = nullptr;
    PcmFormat format_;
    bool notifies_ = false;
};

} // namespace quavera
