#include "playback_queue.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace quavera {
namespace {

// Lists of count tracks, indexed from 1.
bool Allocate(std::vector<std::int32_t>& list, int count, std::int32_t value) {
    try {
        list.assign(static_cast<std::size_t>(count) + 1, value);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

std::int64_t Known(std::int32_t length) { return length > 0 ? length : 0; }

} // namespace

PlaybackQueue::PlaybackQueue(std::uint32_t seed) : generator_(seed) {}

PlaybackQueue::Setup PlaybackQueue::Init(int count) {
    Free();
    if (count <= 0) return Setup::Ready;
    if (count > kMaxEntries || !Allocate(played_, count, 0)) {
        Free();
        return Setup::NoMemoryForMarks;
    }
    if (!Allocate(lengths_, count, kUnreadable) || !Allocate(presets_, count, 0)) {
        Free();
        return Setup::NoMemoryForTimes;
    }
    count_ = count;
    return Setup::Ready;
}

void PlaybackQueue::Free() {
    std::vector<std::int32_t>().swap(played_);
    std::vector<std::int32_t>().swap(lengths_);
    std::vector<std::int32_t>().swap(presets_);
    count_ = 0;
    current_ = 0;
    fresh_ = true;
    totalMs_ = 0;
}

void PlaybackQueue::SetTrack(int k, int lengthMs, unsigned volumePreset) {
    totalMs_ += Known(lengthMs) - Known(lengths_[Index(k)]);
    lengths_[Index(k)] = lengthMs;
    presets_[Index(k)] = static_cast<std::int32_t>(volumePreset);
    played_[Index(k)] = lengthMs == kUnreadable ? 1 : 0;
}

void PlaybackQueue::AbortScanFrom(int k) {
    for (; k <= count_; ++k) SetTrack(k, kUnreadable, 0);
}

void PlaybackQueue::MarkUnreadable(int k) {
    if (k >= 1 && k <= count_) SetTrack(k, kUnreadable, volumePreset(k));
}

int PlaybackQueue::Waiting() const {
    if (count_ == 0) return 0;
    return static_cast<int>(std::count(played_.begin() + 1, played_.end(), 0));
}

std::int64_t PlaybackQueue::PlayedBeforeMs() const {
    std::int64_t sum = 0;
    for (int k = 1; k <= count_; ++k)
        if (played_[Index(k)] != 0 && k != current_) sum += Known(lengths_[Index(k)]);
    return sum;
}

int PlaybackQueue::MakeCurrent(int k) {
    current_ = k;
    played_[Index(k)] = 1;
    return k;
}

int PlaybackQueue::PickWaiting() {
    const int waiting = Waiting();
    if (waiting == 0) return 0;
    int pick = std::uniform_int_distribution<int>(1, waiting)(generator_);
    for (int k = 1; k <= count_; ++k)
        if (played_[Index(k)] == 0 && --pick == 0) return k;
    return 0;
}

int PlaybackQueue::Next() {
    if (random_ && active()) {
        // A second round starts when the first has played out; when even a
        // fresh round has nothing readable, the queue has run out.
        for (int round = 0; round < 2; ++round) {
            if (const int k = PickWaiting()) return MakeCurrent(k);
            if (!endless_ && current_ != 0) break;
            ResetMarks();
        }
        current_ = count_ + 1;
        return current_;
    }
    if (current_ == 0 && !fresh_) current_ = 1;
    fresh_ = false;
    int next = current_ + 1;
    if (next > count_) {
        if (!endless_ || !active()) {
            current_ = count_ + 1;
            return current_;
        }
        ResetMarks();
        next = 1;
    }
    return MakeCurrent(next);
}

int PlaybackQueue::Previous() {
    if (!active()) return 0;
    if (random_) {
        for (int round = 0; round < 2; ++round) {
            if (const int k = PickWaiting()) return MakeCurrent(k);
            if (!endless_ && current_ < count_ + 1) break;
            ResetMarks();
        }
        current_ = 0;
        return 0;
    }
    current_ = std::min(current_, count_);
    if (current_ > 1 && readable(current_)) played_[Index(current_)] = 0;
    int previous = current_ - 1;
    if (previous < 1) {
        if (!endless_) {
            current_ = 0;
            return 0;
        }
        std::fill(played_.begin() + 1, played_.end(), 1);
        previous = count_;
    }
    return MakeCurrent(previous);
}

void PlaybackQueue::PlaySequentiallyFrom(int k) {
    for (int i = 1; i <= count_; ++i) played_[Index(i)] = i <= k || !readable(i) ? 1 : 0;
}

void PlaybackQueue::Choose(int k) {
    if (!random_) PlaySequentiallyFrom(k);
    MakeCurrent(k);
}

void PlaybackQueue::Follow(int k) { MakeCurrent(k); }

void PlaybackQueue::Rewind() {
    if (!active()) return;
    ResetMarks();
    fresh_ = false;
    MakeCurrent(1);
}

void PlaybackQueue::ResetMarks() {
    for (int k = 1; k <= count_; ++k) played_[Index(k)] = readable(k) ? 0 : 1;
}

void PlaybackQueue::SetRandom(bool on, int lastShown) {
    random_ = on;
    if (!active()) return;
    if (current_ > count_) current_ = std::clamp(lastShown, 1, count_);
    if (on) {
        ResetMarks();
        if (current_ >= 1) played_[Index(current_)] = 1;
    } else {
        PlaySequentiallyFrom(current_);
    }
}

} // namespace quavera
