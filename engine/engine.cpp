#include "engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "description.h"
#include "timing.h"
#include "winbasic.h"

namespace quavera {
namespace {

constexpr const char* kNoDevice =
    "No wave audio device available. Please check your systemconfiguration or try again later.";
constexpr const char* kPlaybackCaption = "Quavera audio playback";
constexpr const char* kNotValid = "This is not a valid audiofile!";

// The reader's own name for the file when it has one, else the path given.
const char* NameForMessage(InputSource* source, const char* path) {
    return source && source->name() ? source->name() : path;
}

// A network stream is read forward: reading its end for the tags there, or
// walking its frames to seek exactly, would download it. Its name starts with
// a scheme ("http://"); a drive letter is no scheme.
bool IsNetworkName(const char* path) {
    const char* scheme = std::strstr(path, "://");
    return scheme != nullptr && scheme - path > 1;
}

void CopyText(char (&destination)[256], const std::string& text) {
    const std::size_t length = std::min(text.size(), sizeof destination - 1);
    std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
}

} // namespace

Engine::Engine() = default;
Engine::~Engine() = default;

Engine& Engine::instance() {
    // Lives until the process ends: tearing down a device during DLL unload
    // would call into winmm under the loader lock.
    static Engine* const engine = new Engine;
    return *engine;
}

void Engine::writeConfiguration(const PlaybackConfiguration& c) {
    store_.write(c);
    if (playing_) return;
    const int divisor = c.frequencyDivisor != 0 ? c.frequencyDivisor : 1;
    status_.outputRate = static_cast<std::uint16_t>(status_.streamRate / divisor);
    status_.outputChannels = static_cast<std::uint16_t>(c.channels);
    status_.bitsPerSample = static_cast<std::uint16_t>(c.bitsPerSample);
    status_.quality = static_cast<std::uint16_t>(c.quality);
}

void Engine::fillStatusFromStream(StreamStatus& s, const StreamInfo& info, const char* path) const {
    CopyText(s.title, StreamTitle(info.fileName.c_str()));
    CopyText(s.description, LookupDescription(path));
    s.fileLength = info.fileLength;
    s.totalTime = info.totalTime;
    s.position = 0;
    s.compressionRatio = info.compressionRatio;
    s.layer = static_cast<std::uint16_t>(info.layer);
    s.mpegVersion = static_cast<std::uint16_t>(info.mpegVersion);
    s.bitratePerChannel = static_cast<std::uint16_t>(info.bitratePerChannel);
    s.outputRate = static_cast<std::uint16_t>(info.outputRate);
    s.streamRate = static_cast<std::uint16_t>(info.outputRate * info.frequencyDivisor);
    s.outputChannels = static_cast<std::uint16_t>(info.outputChannels);
    s.streamChannels = static_cast<std::uint16_t>(info.streamChannels);
    s.bitsPerSample = static_cast<std::uint16_t>(info.bitsPerSample);
    s.quality = static_cast<std::uint16_t>(info.quality);
}

int Engine::openStream(WORD value, HWND window, const char* path, InputSource* source, DWORD tickMs) {
    value_ = value;
    if (!path) return 0;
    if (busy_) {
        ShowError(window, "Another audio playback thread is already running!");
        return 0;
    }
    busy_ = true;
    const auto fail = [this] {
        busy_ = false;
        return 0;
    };

    configuration_ = store_.read();
    const std::string invalid = ValidateConfiguration(configuration_);
    if (configuration_.playbackMethode < 1 || configuration_.playbackMethode > 3) {
        configuration_.playbackMethode = 0;
        ShowError(window, "%s", invalid.c_str());
        return fail();
    }
    playing_ = false;
    paused_ = false;
    status_.playing = 0;
    status_.paused = 0;
    queuedBlocks_ = 0;
    if (!invalid.empty()) {
        ShowError(window, "%s", invalid.c_str());
        return fail();
    }

    if (waveOutGetNumDevs() == 0) {
        ShowError(window, "%s", kNoDevice);
        return fail();
    }

    if (source) decoder_.bind(source);
    if (!decoder_.source() || !decoder_.openInput(path)) {
        ShowError(window, "File %s does not exist!", NameForMessage(decoder_.source(), path));
        return fail();
    }

    const OutputConfig output{configuration_.frequencyDivisor, configuration_.quality,
                              configuration_.channels, configuration_.bitsPerSample};
    // What the encoder added around the signal is not played.
    decoder_.setGapless(true);
    decoder_.setRandomAccess(!IsNetworkName(path));
    // An input that ends before it has the four bytes of a header sets no
    // text of its own; for the user it is simply not an audio file.
    decoder_.setLastError(kNotValid);
    if (!decoder_.openStream(output)) {
        ShowError(window, "%s", decoder_.lastError());
        return fail();
    }
    const StreamInfo& info = decoder_.info();

    const PcmFormat format{info.outputChannels, info.outputRate, info.bitsPerSample};
    // A device opened for another format, or without the completion callback
    // that the callback method needs (or with one the others must not get),
    // cannot play this stream.
    const bool wantsCallback = configuration_.playbackMethode == 3;
    // The level the user chose belongs to the player, not to one device: a
    // device reopened for another format starts at its own full volume.
    bool carryVolume = false;
    if (device_.isOpen() && (device_.format() != format || device_.notifies() != wantsCallback)) {
        if (!resetAndReleaseDevice(true)) return fail();
        carryVolume = true;
    }

    fillStatusFromStream(status_, info, path);
    msPerFrame_ = static_cast<float>(info.samplesPerFrame) * 1000.0f / static_cast<float>(status_.streamRate);
    blockTime_ = BlockTime(configuration_.framesPerBuffer, msPerFrame_);
    framesPerTick_ = FramesPerTick(status_.streamRate, tickMs, info.samplesPerFrame);
    currentFrame_ = 0;
    pcmBlockSize_ = static_cast<std::size_t>(info.pcmBlockSize);

    if (!device_.isOpen() && !openDevice(window)) return fail();
    if (carryVolume) device_.setVolume(openVolume_);

    DWORD volume = 0;
    if (device_.volume(volume)) {
        openVolume_ = volume;
        status_.volumeLeft = LOWORD(volume);
        status_.volumeRight = HIWORD(volume);
    }
    status_.device = device_.handle();
    window_ = window;
    path_ = path;
    tickMs_ = tickMs;
    return 1;
}

bool Engine::openDevice(HWND window) {
    const PcmFormat format{status_.outputChannels, status_.outputRate, status_.bitsPerSample};
    const int id = configuration_.waveOutDevice;
    MMRESULT result = MMSYSERR_NOERROR;
    if (configuration_.playbackMethode == 3) {
        // The callback may arrive before waveOutOpen returns: the worker runs first.
        if (!completions_.start([this] { return onBlocksDone(); })) result = MMSYSERR_NOMEM;
        else result = device_.open(id, format, CompletionWorker::DeviceCallback, &completions_);
        if (result != MMSYSERR_NOERROR) completions_.stop();
    } else {
        result = device_.open(id, format, nullptr, nullptr);
    }
    switch (result) {
    case MMSYSERR_NOERROR:
        return true;
    case MMSYSERR_BADDEVICEID:
        ShowError(window, "Invalid WaveOut-device ID %d!", id);
        break;
    case MMSYSERR_ALLOCATED:
        ShowWarning(window, kPlaybackCaption, "Your wave audio device is in use by another application.");
        break;
    case MMSYSERR_NOMEM:
        ShowError(window, "No memory left to open WaveOut-device %d!", id);
        break;
    case WAVERR_BADFORMAT:
        ShowWarning(window, kPlaybackCaption,
                    "You WaveOut-audio-device %d is not capable of playing sounds at %dHz %dbit %s.\n"
                    "Press OK to search for other WaveOut-devices.",
                    id, format.rate, format.bits, format.channels == 2 ? "stereo" : "mono");
        break;
    case WAVERR_SYNC:
        ShowError(window, "No SYNC specified.");
        return false;
    default:
        ShowError(window, "Unkown audio error.");
        return false;
    }
    ShowError(window, "%s", kNoDevice);
    return false;
}

void Engine::closeDevice() {
    device_.close();
    completions_.stop();
    status_.device = nullptr;
}

void Engine::unprepareBlocks() {
    for (int i = 0; i < ring_.size(); ++i) {
        WAVEHDR* header = ring_[i].header;
        MMRESULT result = waveOutUnprepareHeader(device_.handle(), header, sizeof(WAVEHDR));
        for (int tries = 1; result == WAVERR_STILLPLAYING && tries < 10; ++tries) {
            Sleep(500);
            result = waveOutUnprepareHeader(device_.handle(), header, sizeof(WAVEHDR));
        }
        if (result == WAVERR_STILLPLAYING) ShowError(window_, "Audio block %d is still in the playback queue!", i);
        else if (result == MMSYSERR_INVALHANDLE) ShowError(window_, "Invalid audio handle for unprepare header!");
        else if (result == MMSYSERR_HANDLEBUSY) ShowError(window_, "Audio handle is in use by another thread!");
    }
}

bool Engine::resetAndReleaseDevice(bool close) {
    SpinLock lock(deviceLock_);
    if (device_.isOpen()) {
        DWORD volume = 0;
        if (heardVolume(volume)) {
            status_.volumeLeft = LOWORD(volume);
            status_.volumeRight = HIWORD(volume);
        }
        pendingVolume_ = 0;
        device_.setVolume(0);
        const MMRESULT reset = waveOutReset(device_.handle());
        if (reset == MMSYSERR_INVALHANDLE) {
            ShowError(window_, "Invalid audio handle for reset!");
            return false;
        }
        if (reset == MMSYSERR_NOERROR) {
            if (ring_.allocated()) unprepareBlocks();
            device_.setVolume(openVolume_);
            if (close) {
                MMRESULT closed = device_.close();
                for (int tries = 1; closed == WAVERR_STILLPLAYING && tries < 10; ++tries) {
                    Sleep(500);
                    closed = device_.close();
                }
                if (closed == MMSYSERR_INVALHANDLE) {
                    ShowError(window_, "Invalid audio handle for close device!");
                    return false;
                }
                if (closed == WAVERR_STILLPLAYING) {
                    ShowError(window_, "Audio is still playing. Reset failed!");
                    return false;
                }
                closeDevice();
            }
        }
    }
    ring_.release();
    queuedBlocks_ = 0;
    return true;
}

int Engine::stopPlayback(int closeDevice) {
    if (!busy_) {
        // Nothing to stop, but a device left open by a stream that played to
        // its end is still released when the caller asks for it (the player
        // does at exit): a device whose callback outlives the program is not
        // safe.
        if (closeDevice && device_.isOpen()) {
            SpinLock guard(guard_);
            resetAndReleaseDevice(true);
        }
        return 0;
    }
    playing_ = false;
    paused_ = false;
    decoding_ = false;
    status_.playing = 0;
    status_.paused = 0;
    stopRefresh();
    // No refresh may touch the ring while it goes.
    SpinLock guard(guard_);
    completions_.ignoreNotifications(true);
    const bool released = resetAndReleaseDevice(closeDevice != 0);
    completions_.ignoreNotifications(false);
    if (!released) return 0;
    busy_ = false;
    active_ = false;
    return 1;
}

int Engine::closeStream() {
    stopPlayback(0);
    path_.clear();
    window_ = nullptr;
    active_ = false;
    busy_ = false;
    const std::uint16_t left = status_.volumeLeft;
    const std::uint16_t right = status_.volumeRight;
    status_ = StreamStatus{};
    status_.volumeLeft = left;
    status_.volumeRight = right;
    decoder_.closeInput();
    return 1;
}

StreamStatus* Engine::playbackStatus() {
    float position = 0;
    if (active_) {
        const long frames = std::max(0L, static_cast<long>(currentFrame_.load()) -
                                             static_cast<long>(configuration_.framesPerBuffer) * queuedBlocks_.load());
        position = std::min(static_cast<float>(frames) * msPerFrame_, status_.totalTime);
    }
    status_.position = std::max(0.0f, position);
    return &status_;
}


StreamStatus* Engine::refreshStreamInfo() {
    InputSource* source = decoder_.source();
    const std::string name = source && source->name() ? source->name() : "";
    CopyText(status_.title, StreamTitle(name.c_str()));
    CopyText(status_.description, LookupDescription(name.c_str()));
    status_.bitratePerChannel = static_cast<std::uint16_t>(decoder_.currentBitratePerChannel());
    status_.fileLength = source ? source->length() : 0;
    // From the file's information frame, or its length less its tags.
    status_.totalTime = decoder_.currentTotalTime();
    status_.position = 0;
    return &status_;
}

StreamStatus* Engine::queryStreamInfo(HWND window, const char* path, InputSource* source) {
    query_ = StreamStatus{};
    if (!path) return nullptr;
    // A private context of its own: the stream that may be playing is not touched.
    Decoder analysis(8192, 1152);
    if (source) analysis.bind(source);
    if (!analysis.source() || !analysis.openInput(path)) {
        ShowError(window, "File %s does not exist!", NameForMessage(analysis.source(), path));
        return nullptr;
    }
    StreamInfo info;
    analysis.setRandomAccess(!IsNetworkName(path));
    analysis.setLastError(kNotValid);
    if (analysis.analyseStream(info)) {
        fillStatusFromStream(query_, info, path);
    } else {
        ShowError(window, "%s", analysis.lastError());
    }
    analysis.closeInput();
    return &query_;
}

int Engine::getVolume(WORD* left, WORD* right) const {
    DWORD volume = 0;
    if (!heardVolume(volume)) return 0;
    if (left) *left = LOWORD(volume);
    if (right) *right = HIWORD(volume);
    return 1;
}

int Engine::setVolume(DWORD left, DWORD right) {
    if (!busy_) return 0;
    const DWORD volume = (right & 0xFFFF) << 16 | (left & 0xFFFF);
    SpinLock lock(volumeLock_);
    // While the start plays muted, the new level is the one it comes back to.
    if (pendingVolume_ != 0 && volume != 0) {
        pendingVolume_ = volume;
    } else {
        if (!device_.setVolume(volume)) return 0;
        pendingVolume_ = 0;
    }
    openVolume_ = volume;
    return 1;
}

} // namespace quavera
