// Playback: the block ring's prefill, the refresh step that the three drivers
// share, seeking while playing, pause and resume, and the end of a stream.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine.h"
#include "timing.h"
#include "tamblin1.h"
#include "winbasic.h"

namespace quavera {
namespace {

// Raises the calling thread for a burst of decoding and restores it after.
class AboveNormalPriority {
public:
    AboveNormalPriority() : thread_(GetCurrentThread()), old_(GetThreadPriority(thread_)) {
        SetThreadPriority(thread_, THREAD_PRIORITY_ABOVE_NORMAL);
    }
    ~AboveNormalPriority() { SetThreadPriority(thread_, old_); }
    AboveNormalPriority(const AboveNormalPriority&) = delete;
    AboveNormalPriority& operator=(const AboveNormalPriority&) = delete;

private:
    HANDLE thread_;
    int old_;
};

constexpr const char* kPerformanceText =
    "Our preformance test result shows that your system is not\n"
    "fast enough to play audio at the given playback parameters.\n"
    "We need less than %dms processing time per audioblock,\n"
    "but your system needs %dms per audioblock!\n\n"
    "Your system will not react till the whole audio stream is decoded!\n"
    "This can cause disortion during audio playback. If so try to\n"
    "reduce playback quality and/or playback frequency used.\n"
    "If you want to cancel playback press the CANCEL button.\n\n\n"
    "Should this message be displayed again?";

} // namespace

void Engine::post(WPARAM command) {
    if (window_) PostMessageA(window_, WM_COMMAND, command, reinterpret_cast<LPARAM>(&status_));
}

void Engine::countTicks(int frames) {
    tickCountdown_ -= frames;
    while (tickCountdown_ <= 0 && framesPerTick_ != 0) {
        tickCountdown_ += framesPerTick_;
        post(CMD_POSITION);
    }
}

// Frames cut short (the encoder's delay and padding) count as frames.
int Engine::framesIn(const BlockRing::Block& block) const {
    return static_cast<int>((block.header->dwBufferLength + pcmBlockSize_ - 1) / pcmBlockSize_);
}

void Engine::silence(BlockRing::Block& block) const {
    // A frame may decode to nothing (a Layer III frame whose main data is
    // missing after a seek): it must sound silent, which is 0x80 in 8 bits.
    std::memset(block.data, status_.bitsPerSample == 8 ? 0x80 : 0,
                pcmBlockSize_ * static_cast<std::size_t>(configuration_.framesPerBuffer));
}

template <typename OnFrame>
bool Engine::decodeBlock(BlockRing::Block& block, OnFrame onFrame) {
    silence(block);
    block.header->dwBufferLength = 0;
    for (int frame = 0; frame < configuration_.framesPerBuffer; ++frame) {
        const std::uint32_t number = decoder_.decodeFrame(block.data + block.header->dwBufferLength);
        if (number == 0) return false;
        onFrame(number);
        // Less than a whole frame where the encoder's delay or padding was cut.
        block.header->dwBufferLength += static_cast<DWORD>(decoder_.lastFrameBytes());
    }
    return true;
}

int Engine::fillRing(DWORD* timeSum) {
    nextBlock_ = 0;
    // Blocks returned by a reset still say done: when the input ends before
    // the ring is full, the draining must not count them as played.
    for (int i = 0; i < ring_.size(); ++i) {
        ring_[i].header->dwFlags = 0;
        ring_[i].header->dwLoops = 0;
    }
    AboveNormalPriority priority;
    for (int i = 0; i < ring_.size(); ++i) {
        BlockRing::Block& block = ring_[i];
        const DWORD start = GetTickCount();
        const bool full = decodeBlock(block, [this](std::uint32_t number) { currentFrame_ = number; });
        waveOutPrepareHeader(device_.handle(), block.header, sizeof(WAVEHDR));
        ++queuedBlocks_;
        if (!full) {
            decoding_ = false;
            return i + 1;
        }
        if (timeSum) *timeSum += GetTickCount() - start;
    }
    return ring_.size();
}

void Engine::writeRing(int blocks, bool pauseAfterFirst) {
    for (int i = 0; i < blocks; ++i) {
        waveOutWrite(device_.handle(), ring_[i].header, sizeof(WAVEHDR));
        if (i == 0 && pauseAfterFirst) waveOutPause(device_.handle());
        countTicks(framesIn(ring_[i]));
    }
}

// The first block plays muted; the volume comes back when the refresh handles
// the first finished block (or at once when the stream stays paused).
void Engine::muteStart() {
    DWORD volume = 0;
    if (device_.volume(volume) && volume != 0) pendingVolume_ = volume;
    device_.setVolume(0);
}

void Engine::restorePendingVolume() {
    SpinLock lock(volumeLock_);
    if (const DWORD volume = pendingVolume_.exchange(0)) device_.setVolume(volume);
}

bool Engine::heardVolume(DWORD& volume) const {
    if (const DWORD pending = pendingVolume_.load()) {
        volume = pending;
        return true;
    }
    return device_.volume(volume);
}

bool Engine::prefill() {
    waveOutReset(device_.handle());
    newFile_ = false;
    queuedBlocks_ = 0;
    tickCountdown_ = framesPerTick_;
    ring_.allocate(configuration_.buffers,
                   pcmBlockSize_ * static_cast<std::size_t>(configuration_.framesPerBuffer) + 8);

    decoding_ = true;
    DWORD timeSum = 0;
    const int filled = fillRing(&timeSum);
    const int average = static_cast<int>(timeSum / static_cast<DWORD>(std::max(1, configuration_.buffers - 1)));
    const bool shortStream = filled < ring_.size();

    if (!shortStream && average >= blockTime_ && store_.performanceCheckEnabled()) {
        char text[1024];
        std::snprintf(text, sizeof text, kPerformanceText, blockTime_, average);
        const int answer = ShowMessage(window_, text, "Quavera performance", MB_YESNOCANCEL | MB_ICONWARNING);
        if (answer == IDCANCEL) return false;
        if (answer == IDNO) store_.disablePerformanceCheck();
    }

    // A stream shorter than the ring still needs a refresh period to drain it.
    refreshPeriod_ = RefreshPeriod(configuration_.playbackMethode, blockTime_, average);

    if (!shortStream) muteStart();
    writeRing(filled, false);
    return true;
}

bool Engine::startRefresh() {
    switch (configuration_.playbackMethode) {
    case 1:
        if (!timer_.start(static_cast<UINT>(refreshPeriod_), [this] { onTimerTick(); })) {
            ShowError(window_, "Can't launch audio multimedia timer!");
            return false;
        }
        return true;
    case 2:
        if (!refreshThread_.start([this](const std::atomic<bool>& stop) { runRefreshThread(stop); })) {
            ShowError(window_, "Can't launch audio thread!");
            return false;
        }
        return true;
    default:
        return true;
    }
}

void Engine::stopRefresh() {
    timer_.stop();
    refreshThread_.stop();
}

int Engine::startPlayback() {
    if (!busy_ && !path_.empty()) {
        const DWORD remembered = openVolume_;
        const std::string path = path_;
        if (!openStream(value_, window_, path.c_str(), nullptr, tickMs_)) return 0;
        DWORD volume = 0;
        if (device_.volume(volume) && volume != remembered) setVolume(LOWORD(remembered), HIWORD(remembered));
    }
    // A paused stream is still playing; starting it resumes it.
    if (busy_ && paused_) return resumePlayback();
    if (!busy_ || playing_ || active_) return 0;
    playing_ = true;
    status_.playing = 1;

    active_ = true;
    bool started = false;
    {
        SpinLock guard(guard_);
        started = prefill();
    }
    if (started && startRefresh()) return 1;
    stopPlayback(0);
    playing_ = false;
    status_.playing = 0;
    active_ = false;
    busy_ = false;
    return 0;
}

int Engine::pausePlayback() {
    if (!playing_ || !device_.isOpen()) return 0;
    waveOutPause(device_.handle());
    paused_ = true;
    status_.paused = 1;
    return 1;
}

int Engine::resumePlayback() {
    if (!paused_ || !device_.isOpen()) return 0;
    paused_ = false;
    status_.paused = 0;
    waveOutRestart(device_.handle());
    return 1;
}

int Engine::seekPlayback(DWORD ms) {
    if (static_cast<double>(ms) >= static_cast<double>(static_cast<std::int64_t>(status_.totalTime)) ||
        msPerFrame_ <= 0)
        return 0;
    const auto frame = static_cast<std::uint32_t>(static_cast<double>(ms) / msPerFrame_);
    const auto reposition = [&] {
        if (!decoder_.requestSeek(ms)) return false;
        currentFrame_ = frame;
        if (framesPerTick_ != 0) tickCountdown_ = static_cast<int>(frame % static_cast<std::uint32_t>(framesPerTick_));
        return true;
    };
    if (!playing_ || !active_) return reposition() ? 1 : 0;

    SpinLock guard(guard_);
    const MMRESULT reset = waveOutReset(device_.handle());
    if (reset != MMSYSERR_NOERROR) ShowError(window_, "Error resetting wave out audio device!");
    else unprepareBlocks();
    queuedBlocks_ = 0;
    decoding_ = false;
    Sleep(50);
    if (!reposition()) return 0;
    decoding_ = true;
    const int filled = fillRing(nullptr);
    muteStart();
    writeRing(filled, paused_);
    if (paused_) restorePendingVolume();
    return 1;
}

Engine::Refresh Engine::refreshStep() {
    const int framesPerBuffer = configuration_.framesPerBuffer;
    if (!decoding_) {
        if (queuedBlocks_ == 0) return Refresh::Over;
        for (int i = 0; i < ring_.size(); ++i) {
            WAVEHDR* header = ring_[i].header;
            if (!(header->dwFlags & WHDR_DONE)) continue;
            // A seek close to the end fills the ring only partly and muted:
            // what follows its first block must be heard.
            restorePendingVolume();
            header->dwFlags = 0;
            --queuedBlocks_;
            countTicks(framesPerBuffer);
        }
        return queuedBlocks_ > 0 ? Refresh::Idle : Refresh::Over;
    }

    // Blocks are refilled in the order the device plays them: when several
    // have finished, the lowest index is not always the oldest.
    BlockRing::Block& block = ring_[nextBlock_];
    if (!(block.header->dwFlags & WHDR_DONE)) return Refresh::Idle;
    nextBlock_ = (nextBlock_ + 1) % ring_.size();
    restorePendingVolume();

    const std::uint32_t ringFrames = static_cast<std::uint32_t>(framesPerBuffer * queuedBlocks_);
    if (!decodeBlock(block, [&](std::uint32_t number) { followFrame(number, ringFrames); })) decoding_ = false;
    // An empty last block stays done and is counted by the draining.
    if (block.header->dwBufferLength != 0) {
        waveOutWrite(device_.handle(), block.header, sizeof(WAVEHDR));
        countTicks(framesIn(block));
    }
    return Refresh::Refilled;
}

void Engine::followFrame(std::uint32_t number, std::uint32_t ringFrames) {
    if (number > ringFrames) {
        if (newFile_) {
            refreshStreamInfo();
            post(CMD_STREAM_STARTED);
            newFile_ = false;
        }
        currentFrame_ = number;
    } else if (number == 1 && currentFrame_ > 0) {
        // The list moved to its next file: the position keeps counting the
        // previous one until the new file's first frames leave the ring.
        tickCountdown_ = framesPerTick_;
        newFile_ = true;
    }
}

// Runs on the refresh driver's thread with the guard held; releases it.
void Engine::tearDown() {
    decoding_ = false;
    paused_ = false;
    playing_ = false;
    status_.paused = 0;
    status_.playing = 0;
    timer_.stop();
    completions_.ignoreNotifications(true);
    resetAndReleaseDevice(false);
    active_ = false;
    busy_ = false;
    completions_.ignoreNotifications(false);
    post(CMD_STREAM_END);
    guard_.release();
}

void Engine::onTimerTick() {
    if (!guard_.tryAcquire()) return;
    if (!active_) {
        guard_.release();
        return;
    }
    if (refreshStep() != Refresh::Over && active_) guard_.release();
    else tearDown();
}

void Engine::runRefreshThread(const std::atomic<bool>& stopRequested) {
    while (!stopRequested) {
        if (!guard_.tryAcquire()) {
            Sleep(refreshPeriod_ != 0 ? 1 : 0);
            continue;
        }
        if (!active_) {
            guard_.release();
            return;
        }
        if (refreshStep() == Refresh::Over) {
            tearDown();
            return;
        }
        guard_.release();
        // Without spare time the thread decodes as fast as it can.
        Sleep(static_cast<DWORD>(refreshPeriod_));
    }
}

bool Engine::onBlocksDone() {
    // Several blocks may have finished by the time the worker runs.
    for (;;) {
        // The guard is held by a start or a seek: the blocks they wrote may
        // all finish before they let go, and no notice would come after.
        if (!guard_.tryAcquire()) return true;
        if (!active_) {
            guard_.release();
            return false;
        }
        const Refresh result = refreshStep();
        if (result == Refresh::Over) {
            tearDown();
            return false;
        }
        guard_.release();
        if (result == Refresh::Idle) return false;
    }
}

} // namespace quavera
