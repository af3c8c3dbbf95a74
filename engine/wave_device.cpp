#include "wave_device.h"

namespace quavera {

MMRESULT WaveDevice::open(int deviceId, const PcmFormat& format, Callback callback, void* instance) {
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = static_cast<WORD>(format.channels);
    wave.nSamplesPerSec = static_cast<DWORD>(format.rate);
    wave.wBitsPerSample = static_cast<WORD>(format.bits);
    wave.nBlockAlign = static_cast<WORD>(format.bits / 8 * format.channels);
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
    const UINT id = deviceId == -1 ? WAVE_MAPPER : static_cast<UINT>(deviceId);
    const DWORD_PTR target = reinterpret_cast<DWORD_PTR>(callback);
    const MMRESULT result = waveOutOpen(&handle_, id, &wave, target, reinterpret_cast<DWORD_PTR>(instance),
                                        callback ? CALLBACK_FUNCTION : CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        handle_ = nullptr;
        return result;
    }
    format_ = format;
    notifies_ = callback != nullptr;
    return result;
}

MMRESULT WaveDevice::close() {
    if (!handle_) return MMSYSERR_NOERROR;
    const MMRESULT result = waveOutClose(handle_);
    if (result == MMSYSERR_NOERROR) {
        handle_ = nullptr;
        format_ = {};
    }
    return result;
}

bool WaveDevice::volume(DWORD& value) const {
    return handle_ && waveOutGetVolume(handle_, &value) == MMSYSERR_NOERROR;
}

bool WaveDevice::setVolume(DWORD value) const {
    return handle_ && waveOutSetVolume(handle_, value) == MMSYSERR_NOERROR;
}

} // namespace quavera
