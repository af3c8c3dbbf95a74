#include "refresh_drivers.h"

#include <mmsystem.h>

#include <algorithm>

namespace quavera {

bool MultimediaTimer::start(UINT periodMs, std::function<void()> tick) {
    stop();
    TIMECAPS caps{};
    if (timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR) return false;
    resolution_ = std::clamp(periodMs / 2, caps.wPeriodMin, caps.wPeriodMax);
    tick_ = std::move(tick);
    timeBeginPeriod(resolution_);
    const UINT event = timeSetEvent(std::max(periodMs, caps.wPeriodMin), resolution_, OnTimer,
                                    reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    if (event == 0) {
        timeEndPeriod(resolution_);
        return false;
    }
    event_ = event;
    return true;
}

void MultimediaTimer::stop() {
    if (const UINT event = event_.exchange(0)) {
        timeKillEvent(event);
        timeEndPeriod(resolution_);
    }
}

void CALLBACK MultimediaTimer::OnTimer(UINT, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR) {
    auto* timer = reinterpret_cast<MultimediaTimer*>(self);
    if (timer->event_.load() != 0) timer->tick_();
}

bool RefreshThread::start(std::function<void(const std::atomic<bool>&)> body) {
    stop();
    body_ = std::move(body);
    stopRequested_ = false;
    thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
    return static_cast<bool>(thread_);
}

void RefreshThread::join() {
    if (!thread_) return;
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
}

DWORD WINAPI RefreshThread::Run(LPVOID self) {
    auto* thread = static_cast<RefreshThread*>(self);
    thread->body_(thread->stopRequested_);
    return 0;
}

bool CompletionWorker::start(std::function<bool()> work) {
    if (running_) return true;
    work_ = std::move(work);
    wake_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!wake_) return false;
    running_ = thread_.start([this](const std::atomic<bool>& stopRequested) {
        bool again = false;
        while (!stopRequested) {
            if (again)
                WaitForSingleObject(wake_.get(), 1);
            else
                WaitForSingleObject(wake_.get(), INFINITE);
            if (!stopRequested) again = work_();
        }
    });
    return running_;
}

void CompletionWorker::stop() {
    if (!running_) return;
    running_ = false;
    thread_.requestStop();
    SetEvent(wake_.get());
    thread_.join();
}

void CALLBACK CompletionWorker::DeviceCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    auto* worker = reinterpret_cast<CompletionWorker*>(instance);
    if (!worker || message != WOM_DONE || worker->ignoring_) return;
    SetEvent(worker->wake_.get());
}

} // namespace quavera
