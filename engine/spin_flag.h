#pragma once
// A test-and-set flag shared between the player's thread and the refresh
// drivers. Holders keep it only for a bounded piece of work (one block of
// decoding, a device reset), so waiters yield and retry.
#include <windows.h>

#include <atomic>

namespace quavera {

class SpinFlag {
public:
    bool tryAcquire() { return !flag_.test_and_set(std::memory_order_acquire); }
    void acquire() {
        while (!tryAcquire()) Sleep(0);
    }
    void release() { flag_.clear(std::memory_order_release); }
    bool held() const { return flag_.test(std::memory_order_relaxed); }

private:
    std::atomic_flag flag_;
};

// Holds a SpinFlag for a scope.
class SpinLock {
public:
    explicit SpinLock(SpinFlag& flag) : flag_(flag) { flag_.acquire(); }
    ~SpinLock() { flag_.release(); }
    SpinLock(const SpinLock&) = delete;
    SpinLock& operator=(const SpinLock&) = delete;

private:
    SpinFlag& flag_;
};

} // namespace quavera
