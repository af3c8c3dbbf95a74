#pragma once
// The engine's process-wide state and its operations, one current stream at a
// time. The exported functions forward here.
#include <windows.h>

#include <memory>
#include <string>

#include "configuration.h"
#include "decoder.h"
#include "stream_status.h"
#include "wave_device.h"

namespace quavera {

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    static Engine& instance();

    void setRegistryLocation(const char* location) { store_.setLocation(location); }
    PlaybackConfiguration readConfiguration() const { return store_.read(); }
    void writeConfiguration(const PlaybackConfiguration& configuration);

    int openStream(WORD value, HWND window, const char* path, InputSource* source, DWORD tickMs);
    int startPlayback();
    int pausePlayback();
    int resumePlayback();
    int seekPlayback(DWORD ms);
    int stopPlayback(int closeDevice);
    int closeStream();
    StreamStatus* playbackStatus();
    StreamStatus* refreshStreamInfo();
    StreamStatus* queryStreamInfo(HWND window, const char* path, InputSource* source);
    int getVolume(WORD* left, WORD* right) const;
    int setVolume(DWORD left, DWORD right);

private:
    bool openDevice(HWND window);
    bool resetAndReleaseDevice(bool closeDevice);
    void fillStatusFromStream(StreamStatus& status, const StreamInfo& info, const char* path) const;

    ConfigurationStore store_;
    PlaybackConfiguration configuration_;
    Decoder decoder_;
    WaveDevice device_;
    StreamStatus status_{};
    StreamStatus query_{};

    bool busy_ = false;
    bool active_ = false;
    // Remembered for a reopen by StartPlayback after a stop or the end.
    WORD value_ = 0;
    HWND window_ = nullptr;
    std::string path_;
    DWORD tickMs_ = 0;
    DWORD openVolume_ = 0xFFFFFFFF;

    float msPerFrame_ = 0;
    int blockTime_ = 0;
    int framesPerTick_ = 0;
    int queuedBlocks_ = 0;
    std::uint32_t currentFrame_ = 0;
};

} // namespace quavera
