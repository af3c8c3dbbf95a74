#pragma once
// The order in which the queue's tracks play: which tracks have played,
// their lengths and volume presets, the current track, and the picks of the
// next and previous track in sequence or at random, once or endlessly. No
// windows here: the main dialog shows what this decides.
//
// Track numbers count from 1; 0 means before the first pick and count() + 1
// past the end.
#include <cstdint>
#include <random>
#include <vector>

namespace quavera {

class PlaybackQueue {
public:
    enum class Setup { Ready, NoMemoryForMarks, NoMemoryForTimes };
    // Larger queues are refused like queues whose lists do not fit in memory.
    static constexpr int kMaxEntries = 1000000;
    // Lengths: 0 unreadable, -1 unknown.
    static constexpr int kUnreadable = 0;
    static constexpr int kUnknownLength = -1;

    explicit PlaybackQueue(std::uint32_t seed);

    // A queue of count waiting tracks, all unreadable until their scan sets
    // them. A count of 0 or less makes no queue.
    Setup Init(int count);
    void Free();
    void SetTrack(int k, int lengthMs, unsigned volumePreset);
    // The tracks from k on were not scanned: they are never picked.
    void AbortScanFrom(int k);
    // Loading the track failed: it is never picked again.
    void MarkUnreadable(int k);

    int count() const { return count_; }
    bool active() const { return count_ > 0; }
    int current() const { return current_; }
    bool random() const { return random_; }
    bool endless() const { return endless_; }
    bool played(int k) const { return played_[Index(k)] != 0; }
    int length(int k) const { return lengths_[Index(k)]; }
    unsigned volumePreset(int k) const { return static_cast<unsigned>(presets_[Index(k)]); }
    bool readable(int k) const { return length(k) != kUnreadable; }
    int Waiting() const;
    // Sum of the known lengths, and of those of the played tracks other than
    // the current one.
    std::int64_t TotalMs() const { return totalMs_; }
    std::int64_t PlayedBeforeMs() const;

    // The next or previous track, made current and marked played. Next gives
    // count() + 1 when the queue has run out, Previous 0 when nothing is before.
    int Next();
    int Previous();
    // A track chosen from the list plays now; in sequence, the tracks before
    // it count as played and the readable ones after it wait.
    void Choose(int k);
    // Playback went on into track k without a pick of its own.
    void Follow(int k);
    // Back to the first track, every readable track waiting again.
    void Rewind();
    void ResetMarks();
    // Random or sequential from the current track on; lastShown stands in for
    // a current number past the end.
    void SetRandom(bool on, int lastShown);
    void SetEndless(bool on) { endless_ = on; }

private:
    std::size_t Index(int k) const { return static_cast<std::size_t>(k); }
    int MakeCurrent(int k);
    // A uniform pick among the waiting tracks, or 0 when none waits.
    int PickWaiting();
    void PlaySequentiallyFrom(int k);

    std::vector<std::int32_t> played_;
    std::vector<std::int32_t> lengths_;
    std::vector<std::int32_t> presets_;
    int count_ = 0;
    int current_ = 0;
    bool fresh_ = true;
    bool random_ = false;
    bool endless_ = false;
    std::int64_t totalMs_ = 0;
    std::mt19937 generator_;
};

} // namespace quavera
