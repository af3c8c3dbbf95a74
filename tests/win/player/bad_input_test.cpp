// Command lines and files that cannot be played: the player explains, stays
// usable and never crashes.
#include <gtest/gtest.h>

#include "player_driver.h"

namespace quavera::test {
namespace {

class PlayerBadInput : public PlayerTest {
protected:
    // The engine's explanation (when it gives one) and the player's own box,
    // then a usable, empty player.
    void ExpectRefusedOpen(PlayerProcess& player, const std::string& engineText) {
        if (!engineText.empty()) {
            const HWND engineBox = player.WaitForBox("Error!");
            ASSERT_NE(engineBox, nullptr);
            EXPECT_EQ(player.Answer(engineBox, IDOK), engineText);
        }
        const HWND box = player.WaitForBox("Open audio file");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(player.Answer(box, IDOK), "MPEG stream init faild!");
        const HWND main = player.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(WindowText(main), "Quavera");
        EXPECT_EQ(ItemText(main, kTrackName), "Press OPEN to choose a song or use Drag and Drop.");
        EXPECT_EQ(ItemText(main, kSourceParameters), "");
        EXPECT_EQ(ItemText(main, kPlaybackParameters), "");
        EXPECT_EQ(ItemText(main, kTrackTime), " 0:00min ");
        EXPECT_EQ(ItemText(main, kLengthLabel), "0:00min");
        EXPECT_EQ(SliderMaximum(main, kPosition), 0u);
        EXPECT_TRUE(IsChecked(main, kStop));
        EXPECT_FALSE(IsChecked(main, kPlay));
        EXPECT_FALSE(IsChecked(main, kPause));
        // Transport commands without a stream do nothing.
        PostCommand(main, kPlay);
        PostCommand(main, kPause);
        Sleep(200);
        EXPECT_EQ(WindowText(main), "Quavera");
        EXPECT_FALSE(IsChecked(main, kPlay));
        EXPECT_TRUE(player.Close());
    }
};

TEST_F(PlayerBadInput, OneCharacterCommandLineNamesAMissingFile) {
    PlayerProcess player("x");
    ExpectRefusedOpen(player, "File x does not exist!");
}

TEST_F(PlayerBadInput, MissingFile) {
    const std::string name = StreamPath("missing.mp2");
    PlayerProcess player("/p " + name);
    ExpectRefusedOpen(player, "File " + name + " does not exist!");
}

TEST_F(PlayerBadInput, FileThatIsNotAudio) {
    PlayerProcess player(StreamPath("notaudio.mp2"));
    const HWND engineBox = player.WaitForBox("Error!");
    ASSERT_NE(engineBox, nullptr);
    EXPECT_FALSE(player.Answer(engineBox, IDOK).empty());
    ExpectRefusedOpen(player, "");
}

TEST_F(PlayerBadInput, FileNamesTooLongForThePlayerAreRefusedWithoutReachingTheEngine) {
    for (const std::size_t length : {256u, 300u, 4000u}) {
        SCOPED_TRACE(length);
        PlayerProcess player("/P " + std::string(length, 'a'));
        ExpectRefusedOpen(player, "");
    }
}

TEST_F(PlayerBadInput, AFailedOpenAfterATrackLeavesTheStoppedStateWithoutATrack) {
    PlayerProcess player("/p " + StreamPath("tone120.mp2"));
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 5000)) << WindowText(main);
    ASSERT_TRUE(WaitUntil([&] { return SliderPosition(main, kPosition) > 0; }, 5000));

    const std::string missing = StreamPath("missing.mp2");
    PlayerProcess second("/p " + missing);
    ASSERT_TRUE(second.WaitForExit());
    ExpectRefusedOpen(player, "File " + missing + " does not exist!");
}

TEST_F(PlayerBadInput, OptionsWithoutAFileOpenNothing) {
    PlayerProcess player("/play -C /e");
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), "Quavera");
    EXPECT_EQ(player.WaitForBox("Open audio file", 300), nullptr);
}

} // namespace
} // namespace quavera::test
