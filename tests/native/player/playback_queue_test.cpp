// The queue's picks: sequence, random and endless, Previous, choices from the
// list, the random toggle, rewinding, and the times it sums.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "playback_queue.h"

namespace quavera {
namespace {

// A queue of readable tracks of the given lengths (0 unreadable, -1 unknown).
PlaybackQueue Queue(std::initializer_list<int> lengths, std::uint32_t seed = 1) {
    PlaybackQueue queue(seed);
    EXPECT_EQ(queue.Init(static_cast<int>(lengths.size())), PlaybackQueue::Setup::Ready);
    int k = 1;
    for (const int length : lengths) queue.SetTrack(k++, length, 100);
    return queue;
}

TEST(PlaybackQueue, SequenceRunsOnceAndThenRunsOut) {
    PlaybackQueue queue = Queue({1000, 2000, 3000});
    EXPECT_EQ(queue.current(), 0);
    EXPECT_EQ(queue.Waiting(), 3);
    EXPECT_EQ(queue.Next(), 1);
    EXPECT_EQ(queue.Waiting(), 2);
    EXPECT_EQ(queue.Next(), 2);
    EXPECT_EQ(queue.Next(), 3);
    EXPECT_EQ(queue.Waiting(), 0);
    EXPECT_EQ(queue.Next(), 4) << "past the end";
    EXPECT_EQ(queue.current(), 4);
    EXPECT_EQ(queue.Next(), 4) << "stays at its end";
    queue.Rewind();
    EXPECT_EQ(queue.current(), 1);
    EXPECT_TRUE(queue.played(1));
    EXPECT_EQ(queue.Waiting(), 2);
    EXPECT_EQ(queue.Next(), 2);
}

TEST(PlaybackQueue, EndlessSequenceStartsOverAndKeepsUnreadableTracksOut) {
    PlaybackQueue queue = Queue({1000, 0, 3000});
    queue.SetEndless(true);
    EXPECT_TRUE(queue.played(2));
    EXPECT_EQ(queue.Next(), 1);
    EXPECT_EQ(queue.Next(), 2) << "in sequence an unreadable track is reached and fails to load";
    EXPECT_EQ(queue.Next(), 3);
    EXPECT_EQ(queue.Next(), 1);
    EXPECT_FALSE(queue.played(3));
    EXPECT_TRUE(queue.played(2));
}

TEST(PlaybackQueue, PreviousOnTheFirstTrackDoesNothingUnlessEndless) {
    PlaybackQueue queue = Queue({1000, 2000, 3000});
    EXPECT_EQ(queue.Next(), 1);
    EXPECT_EQ(queue.Previous(), 0);
    EXPECT_EQ(queue.Next(), 2) << "from 0 after a pick, Next goes on after track 1";
    EXPECT_EQ(queue.Previous(), 1);
    EXPECT_FALSE(queue.played(2)) << "the track left waits again";
    queue.SetEndless(true);
    EXPECT_EQ(queue.Previous(), 3);
    EXPECT_EQ(queue.Waiting(), 0) << "going round backwards counts every track as played";
}

TEST(PlaybackQueue, PreviousFromPastTheEndIsTheLastTrackAgain) {
    PlaybackQueue queue = Queue({1000, 2000});
    queue.Next();
    queue.Next();
    EXPECT_EQ(queue.Next(), 3);
    EXPECT_EQ(queue.Previous(), 1) << "past the end counts as the last track, which is left";
}

TEST(PlaybackQueue, RandomPlaysEveryReadableTrackOnceThenRunsOut) {
    PlaybackQueue queue = Queue({1000, 0, 3000, 4000, 5000}, 7);
    queue.SetRandom(true, 0);
    std::set<int> seen;
    for (int i = 0; i < 4; ++i) {
        const int k = queue.Next();
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 5);
        EXPECT_NE(k, 2);
        EXPECT_TRUE(seen.insert(k).second) << "track " << k << " twice";
    }
    EXPECT_EQ(queue.Next(), 6);
}

TEST(PlaybackQueue, RandomWithEndlessStartsANewRoundWithoutUnreadableTracks) {
    PlaybackQueue queue = Queue({1000, 0, 3000}, 3);
    queue.SetRandom(true, 0);
    queue.SetEndless(true);
    for (int i = 0; i < 50; ++i) {
        const int k = queue.Next();
        EXPECT_TRUE(k == 1 || k == 3) << k;
    }
}

TEST(PlaybackQueue, NothingReadableRunsOutInsteadOfLoopingForever) {
    PlaybackQueue queue = Queue({0, 0}, 5);
    queue.SetRandom(true, 0);
    queue.SetEndless(true);
    EXPECT_EQ(queue.Next(), 3);
    EXPECT_EQ(queue.Previous(), 0);
}

TEST(PlaybackQueue, RandomPicksUniformlyAmongTheWaitingTracks) {
    // First picks of fresh rounds over ten tracks, one of them played already:
    // the nine waiting ones must come up equally often (chi-square, 8 degrees
    // of freedom, 0.1 % level: 26.12).
    constexpr int kRounds = 9000;
    std::map<int, int> picks;
    PlaybackQueue queue = Queue({1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 12345);
    queue.SetRandom(true, 0);
    for (int round = 0; round < kRounds; ++round) {
        queue.ResetMarks();
        queue.Choose(4);
        ++picks[queue.Next()];
    }
    EXPECT_EQ(picks.count(4), 0u);
    double chi = 0;
    const double expected = kRounds / 9.0;
    for (int k = 1; k <= 10; ++k) {
        if (k == 4) continue;
        chi += std::pow(picks[k] - expected, 2) / expected;
    }
    EXPECT_LT(chi, 26.12);
}

TEST(PlaybackQueue, ChoosingALineInSequenceMarksTheTracksBeforeIt) {
    PlaybackQueue queue = Queue({1000, 2000, 0, 4000, 5000});
    queue.Choose(4);
    EXPECT_EQ(queue.current(), 4);
    for (int k = 1; k <= 4; ++k) EXPECT_TRUE(queue.played(k)) << k;
    EXPECT_FALSE(queue.played(5));
    EXPECT_EQ(queue.Waiting(), 1);
    EXPECT_EQ(queue.Next(), 5);
    queue.Choose(2);
    EXPECT_EQ(queue.Waiting(), 2) << "tracks 4 and 5 wait again, the unreadable 3 does not";
    EXPECT_EQ(queue.Next(), 3);
}

TEST(PlaybackQueue, RandomToggleKeepsTheCurrentTrackPlayed) {
    PlaybackQueue queue = Queue({1000, 2000, 3000, 4000});
    queue.Next();
    queue.Next();
    queue.SetRandom(true, 2);
    EXPECT_EQ(queue.Waiting(), 3);
    EXPECT_TRUE(queue.played(2));
    queue.SetRandom(false, 2);
    EXPECT_EQ(queue.Waiting(), 2);
    EXPECT_TRUE(queue.played(1));
    EXPECT_EQ(queue.Next(), 3);
    // Past the end, the last number shown stands in for the current track.
    queue.Next();
    EXPECT_EQ(queue.Next(), 5);
    queue.SetRandom(true, 4);
    EXPECT_EQ(queue.current(), 4);
    EXPECT_EQ(queue.Waiting(), 3);
}

TEST(PlaybackQueue, TotalAndPlayedTimesCountKnownLengthsOnly) {
    PlaybackQueue queue = Queue({60000, -1, 0, 120000});
    EXPECT_EQ(queue.TotalMs(), 180000);
    queue.Next();
    EXPECT_EQ(queue.PlayedBeforeMs(), 0) << "the current track is not before itself";
    queue.Next();
    queue.Next();
    queue.Next();
    EXPECT_EQ(queue.current(), 4);
    EXPECT_EQ(queue.PlayedBeforeMs(), 60000);
    queue.MarkUnreadable(1);
    EXPECT_EQ(queue.TotalMs(), 120000);
    EXPECT_EQ(queue.PlayedBeforeMs(), 0);
    EXPECT_FALSE(queue.readable(1));
}

TEST(PlaybackQueue, AbortedScanLeavesTheRestUnplayable) {
    PlaybackQueue queue(1);
    ASSERT_EQ(queue.Init(4), PlaybackQueue::Setup::Ready);
    queue.SetTrack(1, 1000, 80);
    queue.AbortScanFrom(2);
    EXPECT_EQ(queue.volumePreset(1), 80u);
    EXPECT_EQ(queue.Waiting(), 1);
    EXPECT_EQ(queue.Next(), 1);
    EXPECT_EQ(queue.Next(), 2) << "in sequence it is reached and fails to load";
}

TEST(PlaybackQueue, EmptyAndOversizedQueues) {
    PlaybackQueue queue(1);
    EXPECT_EQ(queue.Init(0), PlaybackQueue::Setup::Ready);
    EXPECT_FALSE(queue.active());
    EXPECT_EQ(queue.Next(), 1) << "an empty queue has run out at once";
    EXPECT_EQ(queue.Previous(), 0);
    queue.SetEndless(true);
    queue.SetRandom(true, 0);
    EXPECT_EQ(queue.Next(), 1);
    EXPECT_EQ(queue.Previous(), 0);
    EXPECT_EQ(queue.Init(-1), PlaybackQueue::Setup::Ready);
    EXPECT_EQ(queue.count(), 0);
    EXPECT_EQ(queue.Init(INT32_MIN), PlaybackQueue::Setup::Ready);
    EXPECT_EQ(queue.Init(PlaybackQueue::kMaxEntries + 1), PlaybackQueue::Setup::NoMemoryForMarks);
    EXPECT_EQ(queue.count(), 0);
    EXPECT_EQ(queue.Init(2147483647), PlaybackQueue::Setup::NoMemoryForMarks);
    EXPECT_EQ(queue.Waiting(), 0);
}

} // namespace
} // namespace quavera
