// The playlist editor given what it cannot take whole: link loops, folders
// that cannot be read, names beyond the length the player opens, 10 000
// files, and a playlist whose entries are folders. It neither hangs nor
// fails, says how much it passed over, and stays usable. The trees are made
// by editor_bad_input_test.sh, which runs these tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "editor_driver.h"
#include "player_driver.h"

namespace quavera::test {
namespace {

std::string Tree(const std::string& name) { return StreamPath(("bad-trees\\" + name).c_str()); }

std::string SkippedText(int count) {
    return std::to_string(count) +
           " of the dropped files and folders could not be added: they cannot be read, they lead back into a "
           "folder already added, or their names are longer than 255 characters.";
}

class EditorBadInput : public EditorTest {
protected:
    // The editor still does what it is asked: the last entry is chosen and
    // deleted, and Cancel closes it after the question.
    void ExpectUsable(int count) {
        PressKeys(editor_, kList, {VK_HOME, VK_END});
        ASSERT_TRUE(WaitUntil([&] { return ListBoxSelection(editor_, kList) == count - 1; }));
        Click(editor_, kDelete);
        ASSERT_TRUE(EntryCountBecomes(count - 1));
        Click(editor_, IDCANCEL);
        if (count > 1) {
            ASSERT_TRUE(AnswerSaveQuestion(IDNO));
        }
        EXPECT_TRUE(EditorClosed());
    }
    std::string AnswerSkippedBox() {
        const HWND box = player_->WaitForBox(kQuestionCaption);
        return box ? player_->Answer(box, IDOK) : std::string();
    }
};

TEST_F(EditorBadInput, LinkLoopsAndUnreadableFoldersAreCountedAndTheRestIsAdded) {
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {Tree("loop"), Tree("guarded")}));
    EXPECT_EQ(AnswerSkippedBox(), SkippedText(3)) << "two links back into the loop and the locked folder";
    ASSERT_TRUE(EntryCountBecomes(3));
    const std::vector<std::string> entries = Entries();
    EXPECT_EQ(entries[0].rfind(Tree("loop\\a.mp2;;;"), 0), 0u) << entries[0];
    EXPECT_EQ(entries[1].rfind(Tree("loop\\inner\\b.mp2;;;"), 0), 0u) << entries[1];
    EXPECT_EQ(entries[2].rfind(Tree("guarded\\open.mp2;;;"), 0), 0u) << entries[2];
    ExpectUsable(3);
}

TEST_F(EditorBadInput, NamesUpTo255CharactersAreAddedAndLongerOnesCounted) {
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {Tree("long")}));
    EXPECT_EQ(AnswerSkippedBox(), SkippedText(2));
    ASSERT_TRUE(EntryCountBecomes(1));
    const std::string entry = ListBoxLine(editor_, kList, 0);
    const std::string name = entry.substr(0, entry.find(';'));
    EXPECT_EQ(name.size(), 255u);
    EXPECT_TRUE(entry.find(";;;") != std::string::npos) << "scanned: " << entry;
    ExpectUsable(1);
}

TEST_F(EditorBadInput, TenThousandFilesAreAllAdded) {
    ASSERT_TRUE(Start(""));
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(player_->DropFiles(editor_, {Tree("many")}));
    ASSERT_TRUE(EntryCountBecomes(10000, 120000)) << ListBoxCount(editor_, kList);
    std::printf("editor: 10000 files in %llu ms\n", GetTickCount64() - start);
    EXPECT_EQ(player_->WaitForBox(kQuestionCaption, 100), nullptr) << "nothing was passed over";
    EXPECT_EQ(ListBoxLine(editor_, kList, 9999).rfind(Tree("many\\099\\09999.mp2;;;"), 0), 0u);
    ExpectUsable(10000);
}

TEST_F(EditorBadInput, APlaylistOfFoldersKeepsThemAfterAskingForEach) {
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {Tree("folders.pls")}));
    for (int i = 0; i < 3; ++i) {
        const HWND box = player_->WaitForBox("Abort import");
        ASSERT_NE(box, nullptr) << i;
        EXPECT_EQ(player_->Answer(box, IDNO), "Do you want to cancel the actual import process?");
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }
    ASSERT_TRUE(EntryCountBecomes(3));
    EXPECT_EQ(Entries(), (std::vector<std::string>{Tree("loop"), Tree("guarded"), Tree("many")}));
    EXPECT_EQ(player_->WaitForBox("Error!", 100), nullptr) << "folders are not handed to the engine";
    ExpectUsable(3);
}

TEST_F(EditorBadInput, APlaylistClaimingTwoBillionEntriesIsCancelledFromItsProgressWindow) {
    const std::string list = WriteTempFile("quavera-claims.pls", "[playlist]\r\nNumberOfEntries=2147483647\r\n"
                                                                 "File1=" + StreamPath("tone1.mp2") + "\r\n");
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {list}));
    const HWND progress = player_->WaitForBox("Loading playlist");
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(EntryCountBecomes(1));
    PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(progress); }));
    ExpectUsable(1);
}

} // namespace
} // namespace quavera::test
