#pragma once
// The engine's process-wide state and its operations, one current stream at a
// time. The exported functions forward here.
//
// Threads: every operation is called on the player's window thread; the
// refresh runs on the multimedia-timer thread, the engine's refresh thread or
// the completion worker. The refresh guard keeps refresh, seek refill and
// end-of-stream tear-down apart; the device lock keeps device resets apart.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "block_ring.h"
#include "configuration.h"
#include "decoder.h"
#include "refresh_drivers.h"
#include "spin_flag.h"
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
    enum class Refresh { Over, Idle, Refilled };

    // Stream open and device (engine.cpp).
    bool openDevice(HWND window);
    void closeDevice();
    bool resetAndReleaseDevice(bool close);
    void unprepareBlocks();
    void fillStatusFromStream(StreamStatus& status, const StreamInfo& info, const char* path) const;

    // Playback (playback.cpp).
    bool prefill();
    void silence(BlockRing::Block& block) const;
    // Decodes FramesPerBuffer frames into the block, which starts as silence,
    // and hands each frame number to onFrame; false when the input ended
    // inside the block.
    template <typename OnFrame>
    bool decodeBlock(BlockRing::Block& block, OnFrame onFrame);
    // What a frame number decoded by the refresh says about the position and
    // a list's move to its next file.
    void followFrame(std::uint32_t number, std::uint32_t ringFrames);
    int framesIn(const BlockRing::Block& block) const;
    // Fills and prepares the blocks from the current position and returns how
    // many hold audio (fewer than the ring when the input ended).
    int fillRing(DWORD* timeSum);
    void writeRing(int blocks, bool pauseAfterFirst);
    void countTicks(int frames);
    void muteStart();
    void restorePendingVolume();
    // The level the user hears, or will hear when a muted start is over.
    bool heardVolume(DWORD& volume) const;
    bool startRefresh();
    void stopRefresh();
    Refresh refreshStep();
    void tearDown();
    void onTimerTick();
    void runRefreshThread(const std::atomic<bool>& stopRequested);
    // True when the guard was busy and the step must be tried again.
    bool onBlocksDone();
    void post(WPARAM command);

    ConfigurationStore store_;
    PlaybackConfiguration configuration_;
    Decoder decoder_;
    WaveDevice device_;
    BlockRing ring_;
    StreamStatus status_{};
    StreamStatus query_{};

    MultimediaTimer timer_;
    RefreshThread refreshThread_;
    CompletionWorker completions_;
    SpinFlag guard_;
    SpinFlag deviceLock_;
    SpinFlag volumeLock_; // the pending volume and the device's level change together

    std::atomic<bool> busy_{false};
    std::atomic<bool> active_{false};
    std::atomic<bool> playing_{false};
    std::atomic<bool> paused_{false};
    std::atomic<bool> decoding_{false};
    std::atomic<int> queuedBlocks_{0};
    std::atomic<std::uint32_t> currentFrame_{0};
    std::atomic<DWORD> pendingVolume_{0};
    int tickCountdown_ = 0; // under the guard
    bool newFile_ = false;  // under the guard
    int nextBlock_ = 0;     // the block the device plays first; under the guard

    // Remembered for a reopen by StartPlayback after a stop or the end.
    WORD value_ = 0;
    HWND window_ = nullptr;
    std::string path_;
    DWORD tickMs_ = 0;
    DWORD openVolume_ = 0xFFFFFFFF;

    std::size_t pcmBlockSize_ = 0;
    float msPerFrame_ = 0;
    int blockTime_ = 0;
    int framesPerTick_ = 0;
    int refreshPeriod_ = 0;
};

} // namespace quavera
