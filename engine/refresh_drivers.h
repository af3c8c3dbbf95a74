#pragma once
// The three ways the engine is woken to refill finished blocks: a periodic
// multimedia timer, a thread of its own, and the device's completion
// notifications (handed to a worker thread, because waveOut functions must
// not be called from inside the device's callback).
#include <windows.h>

#include <atomic>
#include <functional>

#include "handles.h"

namespace quavera {

class MultimediaTimer {
public:
    ~MultimediaTimer() { stop(); }
    // Calls tick every periodMs on the timer thread. False when no timer runs.
    bool start(UINT periodMs, std::function<void()> tick);
    // Safe from inside tick; an in-flight tick may still finish afterwards.
    void stop();

private:
    static void CALLBACK OnTimer(UINT, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR);
    std::function<void()> tick_;
    std::atomic<UINT> event_{0};
    UINT resolution_ = 0;
};

class RefreshThread {
public:
    ~RefreshThread() { stop(); }
    // Runs body(stopRequested) once on a new thread. False when no thread starts.
    bool start(std::function<void(const std::atomic<bool>&)> body);
    // Asks the body to end and waits for it. Never call from the body itself.
    void stop() {
        requestStop();
        join();
    }
    void requestStop() { stopRequested_ = true; }
    void join();

private:
    static DWORD WINAPI Run(LPVOID self);
    std::function<void(const std::atomic<bool>&)> body_;
    std::atomic<bool> stopRequested_{false};
    KernelHandle thread_;
};

// Wakes a worker for every completed block the device reports.
class CompletionWorker {
public:
    ~CompletionWorker() { stop(); }
    // work runs on the worker once per wake-up (several notifications may
    // have arrived by then). When it returns true it could not do its work
    // yet and runs again shortly, without waiting for another notification:
    // the notifications it was woken for are already consumed.
    bool start(std::function<bool()> work);
    void stop();
    // The device's notification function; instance is the worker.
    static void CALLBACK DeviceCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR);
    // Set while the device is being reset: its notifications are not work.
    void ignoreNotifications(bool ignore) { ignoring_ = ignore; }

private:
    std::function<bool()> work_;
    KernelHandle wake_;
    RefreshThread thread_;
    std::atomic<bool> ignoring_{false};
    bool running_ = false;
};

} // namespace quavera
