// On a device that plays in real time: the track time and the position
// slider follow what is heard, stand still while paused, and go on from
// wherever the user moves the slider.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "player_driver.h"

namespace quavera::test {
namespace {

constexpr unsigned kUnitMs = 500; // one slider unit

struct Shown {
    int seconds;      // the track time text
    unsigned units;   // the slider
};

Shown Read(HWND main) { return {TimeTextSeconds(ItemText(main, kTrackTime)), SliderPosition(main, kPosition)}; }

class PlayerFollowsPlayback : public PlayerTest {
protected:
    // Both displays move by about the wall time that passed, and agree.
    static void ExpectAdvance(const Shown& before, const Shown& after, int seconds) {
        EXPECT_NEAR(after.seconds - before.seconds, seconds, 1) << before.seconds << " -> " << after.seconds;
        EXPECT_NEAR(static_cast<int>(after.units) - static_cast<int>(before.units), seconds * 1000 / kUnitMs, 3)
            << before.units << " -> " << after.units;
        EXPECT_NEAR(static_cast<int>(after.units * kUnitMs / 1000), after.seconds, 1);
    }
};

TEST_F(PlayerFollowsPlayback, TimeAndSliderWhilePlayingPausedAndAfterMovingTheSlider) {
    PlayerProcess player("/p " + StreamPath("tone120.mp2"));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 5000)) << WindowText(main);
    ASSERT_NEAR(SliderMaximum(main, kPosition), 240u, 1u);
    // Past the start, where the first position notices arrive.
    ASSERT_TRUE(WaitUntil([&] { return Read(main).seconds >= 1; }, 5000)) << ItemText(main, kTrackTime);

    const Shown playing = Read(main);
    Sleep(3000);
    ExpectAdvance(playing, Read(main), 3);

    Click(main, kPause);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120 (paused)"; }, 3000));
    Sleep(1200);
    const Shown paused = Read(main);
    Sleep(2000);
    const Shown stillPaused = Read(main);
    EXPECT_EQ(stillPaused.seconds, paused.seconds);
    EXPECT_EQ(stillPaused.units, paused.units);

    Click(main, kPlay);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 3000));

    // Drag the thumb to one minute: the displays go on from there.
    ASSERT_TRUE(DragSliderThumb(main, kPosition, 120));
    ASSERT_TRUE(WaitUntil([&] { return Read(main).units >= 118 && Read(main).units <= 124; }, 3000))
        << SliderPosition(main, kPosition);
    Sleep(1500);
    const Shown dragged = Read(main);
    EXPECT_NEAR(dragged.seconds, 61, 2) << ItemText(main, kTrackTime);
    Sleep(2000);
    ExpectAdvance(dragged, Read(main), 2);

    // A click on the channel left of the thumb steps back a page.
    const unsigned beforeClick = SliderPosition(main, kPosition);
    ASSERT_TRUE(ClickSliderChannel(main, kPosition, 40));
    ASSERT_TRUE(WaitUntil([&] { return SliderPosition(main, kPosition) + 10 < beforeClick; }, 3000))
        << SliderPosition(main, kPosition);
    Sleep(1500);
    const Shown clicked = Read(main);
    EXPECT_LT(clicked.units + 10, beforeClick);
    Sleep(2000);
    ExpectAdvance(clicked, Read(main), 2);
}

} // namespace
} // namespace quavera::test
