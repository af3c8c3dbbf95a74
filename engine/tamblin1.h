#pragma once
// The fifteen functions exported by Tamblin1.dll, under the numbered names of
// its export table, and readable inline names for callers.
#include <windows.h>

#include "input_source.h"
#include "stream_status.h"

// Engine notifications, posted as WM_COMMAND to the window given at open with
// lParam pointing to the playback status record.
constexpr WPARAM CMD_STREAM_STARTED = 17183;
constexpr WPARAM CMD_POSITION = 17184;
constexpr WPARAM CMD_STREAM_END = 17185;

extern "C" {
int __stdcall DLL_Entry_000_001();
int __stdcall DLL_Entry_000_002();
int __stdcall DLL_Entry_000_003(DWORD ms);
int __stdcall DLL_Entry_000_004(DWORD value, HWND window, const char* path, quavera::InputSource* source,
                                DWORD tickMs);
int __stdcall DLL_Entry_000_005(int frequencyDivisor, int quality, int channels, int bitsPerSample,
                                int buffers, int framesPerBuffer, int playbackMethode, int waveOutDevice);
quavera::StreamStatus* __stdcall DLL_Entry_000_006(HWND window, const char* path, quavera::InputSource* source);
int __stdcall DLL_Entry_000_007();
int __stdcall DLL_Entry_000_008(int* frequencyDivisor, int* quality, int* channels, int* bitsPerSample,
                                int* buffers, int* framesPerBuffer, int* playbackMethode, int* waveOutDevice);
quavera::StreamStatus* __stdcall DLL_Entry_000_009();
int __stdcall DLL_Entry_000_010();
int __stdcall DLL_Entry_000_011(int closeDevice);
int __stdcall DLL_Entry_000_012(WORD* left, WORD* right);
int __stdcall DLL_Entry_000_013(DWORD left, DWORD right);
int __stdcall DLL_Entry_000_014(const char* location);
quavera::StreamStatus* __stdcall DLL_Entry_000_015();
}

namespace tamblin {
inline int PausePlayback() { return DLL_Entry_000_001(); }
inline int ResumePlayback() { return DLL_Entry_000_002(); }
inline int SeekPlayback(DWORD ms) { return DLL_Entry_000_003(ms); }
inline int OpenStream(WORD value, HWND window, const char* path, quavera::InputSource* source, DWORD tickMs) {
    return DLL_Entry_000_004(value, window, path, source, tickMs);
}
inline int WritePlaybackConfiguration(int divisor, int quality, int channels, int bits, int buffers,
                                      int framesPerBuffer, int method, int device) {
    return DLL_Entry_000_005(divisor, quality, channels, bits, buffers, framesPerBuffer, method, device);
}
inline quavera::StreamStatus* QueryStreamInfo(HWND window, const char* path, quavera::InputSource* source) {
    return DLL_Entry_000_006(window, path, source);
}
inline int CloseStream() { return DLL_Entry_000_007(); }
inline int ReadPlaybackConfiguration(int* divisor, int* quality, int* channels, int* bits, int* buffers,
                                     int* framesPerBuffer, int* method, int* device) {
    return DLL_Entry_000_008(divisor, quality, channels, bits, buffers, framesPerBuffer, method, device);
}
inline quavera::StreamStatus* GetPlaybackStatus() { return DLL_Entry_000_009(); }
inline int StartPlayback() { return DLL_Entry_000_010(); }
inline int StopPlayback(int closeDevice) { return DLL_Entry_000_011(closeDevice); }
inline int GetVolume(WORD* left, WORD* right) { return DLL_Entry_000_012(left, right); }
inline int SetVolume(DWORD left, DWORD right) { return DLL_Entry_000_013(left, right); }
inline int SetRegistryLocation(const char* location) { return DLL_Entry_000_014(location); }
inline quavera::StreamStatus* RefreshStreamInfo() { return DLL_Entry_000_015(); }
} // namespace tamblin
