// The exported face of Tamblin1.dll: plain stdcall functions that forward to
// the process-wide engine. No exception may leave them.
#include <cstdio>
#include <cstdlib>
#include <new>

#include "engine.h"
#include "tamblin1.h"

using quavera::Engine;
using quavera::PlaybackConfiguration;
using quavera::StreamStatus;

namespace {
template <typename Result, typename Call>
Result Guarded(Result failure, Call call) noexcept {
    try {
        return call();
    } catch (...) {
        return failure;
    }
}
Engine& engine() { return Engine::instance(); }
} // namespace

extern "C" {

int __stdcall DLL_Entry_000_001() { return Guarded(0, [] { return engine().pausePlayback(); }); }
int __stdcall DLL_Entry_000_002() { return Guarded(0, [] { return engine().resumePlayback(); }); }
int __stdcall DLL_Entry_000_003(DWORD ms) { return Guarded(0, [&] { return engine().seekPlayback(ms); }); }

int __stdcall DLL_Entry_000_004(DWORD value, HWND window, const char* path, quavera::InputSource* source,
                                DWORD tickMs) {
    return Guarded(0, [&] {
        return engine().openStream(static_cast<WORD>(value & 0xFFFF), window, path, source, tickMs);
    });
}

int __stdcall DLL_Entry_000_005(int frequencyDivisor, int quality, int channels, int bitsPerSample,
                                int buffers, int framesPerBuffer, int playbackMethode, int waveOutDevice) {
    return Guarded(0, [&] {
        engine().writeConfiguration(PlaybackConfiguration{frequencyDivisor, quality, channels, bitsPerSample,
                                                          buffers, framesPerBuffer, playbackMethode,
                                                          waveOutDevice});
        return 1;
    });
}

StreamStatus* __stdcall DLL_Entry_000_006(HWND window, const char* path, quavera::InputSource* source) {
    return Guarded<StreamStatus*>(nullptr, [&] { return engine().queryStreamInfo(window, path, source); });
}

int __stdcall DLL_Entry_000_007() { return Guarded(0, [] { return engine().closeStream(); }); }

int __stdcall DLL_Entry_000_008(int* frequencyDivisor, int* quality, int* channels, int* bitsPerSample,
                                int* buffers, int* framesPerBuffer, int* playbackMethode, int* waveOutDevice) {
    return Guarded(0, [&] {
        const PlaybackConfiguration c = engine().readConfiguration();
        const auto put = [](int* target, int value) {
            if (target) *target = value;
        };
        put(frequencyDivisor, c.frequencyDivisor);
        put(quality, c.quality);
        put(channels, c.channels);
        put(bitsPerSample, c.bitsPerSample);
        put(buffers, c.buffers);
        put(framesPerBuffer, c.framesPerBuffer);
        put(playbackMethode, c.playbackMethode);
        put(waveOutDevice, c.waveOutDevice);
        return 1;
    });
}

StreamStatus* __stdcall DLL_Entry_000_009() {
    return Guarded<StreamStatus*>(nullptr, [] { return engine().playbackStatus(); });
}
int __stdcall DLL_Entry_000_010() { return Guarded(0, [] { return engine().startPlayback(); }); }
int __stdcall DLL_Entry_000_011(int closeDevice) {
    return Guarded(0, [&] { return engine().stopPlayback(closeDevice); });
}
int __stdcall DLL_Entry_000_012(WORD* left, WORD* right) {
    return Guarded(0, [&] { return engine().getVolume(left, right); });
}
int __stdcall DLL_Entry_000_013(DWORD left, DWORD right) {
    return Guarded(0, [&] { return engine().setVolume(left, right); });
}
int __stdcall DLL_Entry_000_014(const char* location) {
    return Guarded(0, [&] {
        engine().setRegistryLocation(location);
        return 1;
    });
}
StreamStatus* __stdcall DLL_Entry_000_015() {
    return Guarded<StreamStatus*>(nullptr, [] { return engine().refreshStreamInfo(); });
}

} // extern "C"

// The bit-stream context exists from the moment the library is loaded; a
// machine that cannot give it its buffer cannot play anything.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        try {
            engine();
        } catch (const std::bad_alloc&) {
            std::fputs("Sorry, no memory for bit stream buffer\n", stdout);
            std::fflush(stdout);
            std::exit(-1);
        }
    }
    return TRUE;
}
