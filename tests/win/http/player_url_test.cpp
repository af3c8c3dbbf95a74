// The player's URL command driven from outside: the "Internet streaming"
// dialog, its refusal of other schemes, the completion of typed text, the
// save file, and the boxes of an address that cannot be played.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "http_test_support.h"
#include "player_driver.h"

namespace quavera::test {
namespace {

constexpr int kAddressField = 1104;

class PlayerUrl : public PlayerTest {
protected:
    HWND OpenUrlDialog(PlayerProcess& player, HWND main) {
        PostCommand(main, kUrl);
        return player.WaitForBox("Internet streaming");
    }
    // As typing does: the text changes and the field counts as edited.
    static void Type(HWND dialog, const std::string& text) {
        const HWND field = GetDlgItem(dialog, kAddressField);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000,
                            &ignored);
        SendMessageTimeoutA(field, EM_SETMODIFY, TRUE, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    }
    static std::string Port() { return HttpRunFile("port"); }
    // Starts the player with the arguments and gives its URL command the
    // address as typed.
    HWND EnterAddress(PlayerProcess& player, const std::string& address) {
        const HWND main = player.WaitForMainWindow();
        if (!main) return nullptr;
        const HWND dialog = OpenUrlDialog(player, main);
        if (!dialog) return nullptr;
        Type(dialog, address);
        PostCommand(dialog, IDOK);
        return main;
    }
};

TEST_F(PlayerUrl, DialogRefusesOtherSchemesAndCompletesTypedText) {
    SetRegString(kConfigurationKey, "RecentURL", "http://recent.example/x.mp3");
    PlayerProcess player("");
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const HWND dialog = OpenUrlDialog(player, main);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, kAddressField), "http://recent.example/x.mp3");
    SaveScreenshot(dialog, "url-dialog");

    Type(dialog, "ftp://x/a.mp3");
    PostCommand(dialog, IDOK);
    const HWND check = player.WaitForBox("URL check");
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(player.Answer(check, IDOK), "You have to provide a vaild URL!\n\nOnly HTTP addresses are allowed so far!");
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays open";

    // No scheme: lower case after "http://".
    Type(dialog, "  127.0.0.1:" + Port() + "/FILES/Long.mp2 ");
    PostCommand(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - long"; }, 10000)) << WindowText(main);
    EXPECT_TRUE(IsChecked(main, kPlay));
    EXPECT_EQ(ItemText(main, kTrackName), "long");
    std::string recent;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentURL", &recent));
    EXPECT_EQ(recent, "http://127.0.0.1:" + Port() + "/files/long.mp2");
    SaveScreenshot(main, "main-url-playing");
}

TEST_F(PlayerUrl, UneditedDialogOpensTheRecentAddressAndCancelOpensNothing) {
    const std::string address = TestUrl("files", "stereo128.mp3");
    SetRegString(kConfigurationKey, "RecentURL", address);
    PlayerProcess player("");
    const HWND main = player.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND dialog = OpenUrlDialog(player, main);
    ASSERT_NE(dialog, nullptr);
    PostCommand(dialog, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000));
    EXPECT_EQ(WindowText(main), "Quavera");
    dialog = OpenUrlDialog(player, main);
    ASSERT_NE(dialog, nullptr);
    PostCommand(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - stereo128"; }, 10000)) << WindowText(main);
}

TEST_F(PlayerUrl, AddressThatCannotBePlayedIsExplainedAndNotRemembered) {
    PlayerProcess player("");
    const std::string missing = TestUrl("files", "missing.mp2");
    const HWND main = EnterAddress(player, missing);
    ASSERT_NE(main, nullptr);
    // The reader's explanation, then the engine's and the player's.
    for (const std::string& text : {"URL '" + missing + "' not found", "File " + missing + " does not exist!"}) {
        const HWND error = player.WaitForBox("Error!");
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(player.Answer(error, IDOK), text);
        WaitUntil([&] { return !IsWindow(error); }, 3000);
    }
    const HWND refusal = player.WaitForBox("Open audio file");
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(player.Answer(refusal, IDOK), "MPEG stream init faild!");
    EXPECT_EQ(WindowText(main), "Quavera");
    std::string recent;
    EXPECT_FALSE(GetRegString(kConfigurationKey, "RecentURL", &recent)) << recent;
}

// Run by http_playback_test.sh, which compares the captured audio with the
// local decode of the file afterwards.
TEST_F(PlayerUrl, APlaylistAddressBecomesTheQueueAndATrackAddressLeavesIt) {
    const std::string list = "[playlist]\r\nNumberOfEntries=2\r\nFile1=" + TestUrl("files", "long.mp2") +
                             ";Web\r\nFile2=" + StreamPath("tone120.mp2") + "\r\n";
    const std::string address = ServeFile("quavera-url.pls", list);
    PlayerProcess player("");
    const HWND main = EnterAddress(player, address);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - Web"; }, 10000)) << WindowText(main);
    EXPECT_EQ(ListBoxLines(main, kTrackList), (std::vector<std::string>{"1. Web", "2. tone120"}));
    EXPECT_TRUE(IsShown(main, kTrackList));
    std::string recent;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentURL", &recent));
    EXPECT_EQ(recent, address);

    ASSERT_NE(EnterAddress(player, TestUrl("files", "stereo128.mp3")), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - stereo128"; }, 10000)) << WindowText(main);
    EXPECT_FALSE(IsShown(main, kTrackList)) << "a single track leaves the queue";
}

TEST_F(PlayerUrl, PlaysAndSavesThroughTheUrlDialogUntilTheEnd) {
    SetRegInt(kConfigurationKey, "PlayAndSave", 1);
    const std::string saved = TempFolder() + "quavera-url-saved.mp2";
    DeleteFileA(saved.c_str());
    // /C: the player closes when the track has played.
    PlayerProcess player("/c");
    const std::string address = TestUrl("files", "long.mp2");
    const HWND main = EnterAddress(player, address);
    ASSERT_NE(main, nullptr);
    const HWND save = player.WaitForBox("Save As");
    ASSERT_NE(save, nullptr);
    // The file name field of the Save As dialog.
    HWND name = GetDlgItem(save, 0x47C);
    if (!name) name = GetDlgItem(save, 0x480);
    ASSERT_NE(name, nullptr);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.c_str()), SMTO_ABORTIFHUNG, 2000, &ignored);
    PostMessageA(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - long"; }, 10000)) << WindowText(main);
    EXPECT_TRUE(player.WaitForExit(60000));
    EXPECT_EQ(FileContent(saved), ServedBytes("long.mp2")) << "the saved file is the served file";
    std::string recent;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentURL", &recent));
    EXPECT_EQ(recent, address);
    DeleteFileA(saved.c_str());
}

} // namespace
} // namespace quavera::test
