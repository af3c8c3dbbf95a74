// The playlist editor with a large drop: a folder tree of 2 000 files is
// taken whole while its progress window keeps answering, the list stays
// usable, and the list saved and loaded again is the same. Prints the time
// per file.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editor_driver.h"
#include "player_driver.h"

namespace quavera::test {
namespace {

constexpr int kFolders = 10;
constexpr int kSubfolders = 2;
constexpr int kFilesEach = 100;
constexpr int kFiles = kFolders * kSubfolders * kFilesEach;
constexpr int kPercentText = 1081;

// The folder tree: disc 01 to 10, each with two parts of 100 files, every
// file the same short stream (linked where the file system allows it).
std::string MakeTree() {
    const std::string root = FreshFolder("quavera-scale");
    const std::string source = CopyStream("tone1.mp2", root + "source.mp2.bin");
    char name[MAX_PATH];
    for (int disc = 1; disc <= kFolders; ++disc) {
        for (int part = 1; part <= kSubfolders; ++part) {
            std::snprintf(name, sizeof name, "%sdisc %02d\\part %d", root.c_str(), disc, part);
            CreateDirectoryA(std::string(name, std::strrchr(name, '\\')).c_str(), nullptr);
            CreateDirectoryA(name, nullptr);
            const std::string folder = name;
            for (int track = 1; track <= kFilesEach; ++track) {
                std::snprintf(name, sizeof name, "%s\\track %03d.mp2", folder.c_str(), track);
                if (!CreateHardLinkA(name, source.c_str(), nullptr)) CopyFileA(source.c_str(), name, FALSE);
            }
        }
    }
    return root;
}

// How long a window takes to answer a message, in milliseconds; -1 when it
// does not within two seconds. A window on its way out (its text already
// gone) fails at once, which is no want of an answer.
long AnswerTime(HWND window) {
    const ULONGLONG start = GetTickCount64();
    char text[64];
    DWORD_PTR ignored = 0;
    const bool answered = SendMessageTimeoutA(GetDlgItem(window, kPercentText), WM_GETTEXT, sizeof text,
                                              reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored) != 0;
    const auto waited = static_cast<long>(GetTickCount64() - start);
    return answered || waited < 2000 ? waited : -1;
}

TEST_F(EditorTest, ATreeOfTwoThousandFilesIsTakenWholeAndSavedAndLoadedAgainAlike) {
    const std::string root = MakeTree();
    ASSERT_TRUE(Start(""));
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(player_->DropFiles(editor_, {root + "disc 01", root + "disc 02", root + "disc 03", root + "disc 04",
                                             root + "disc 05", root + "disc 06", root + "disc 07", root + "disc 08",
                                             root + "disc 09", root + "disc 10"}));
    const HWND progress = player_->WaitForBox("Adding files");
    ASSERT_NE(progress, nullptr);
    // The progress window answers and moves on while the files are added.
    long slowest = 0;
    std::vector<std::string> shown;
    while (IsWindow(progress)) {
        const long answer = AnswerTime(progress);
        if (!IsWindow(progress)) break;
        ASSERT_GE(answer, 0) << "the progress window does not answer";
        slowest = std::max(slowest, answer);
        const std::string percent = ItemText(progress, kPercentText);
        if (shown.empty() || shown.back() != percent) shown.push_back(percent);
        Sleep(100);
    }
    ASSERT_TRUE(EntryCountBecomes(kFiles, 60000)) << ListBoxCount(editor_, kList);
    const ULONGLONG added = GetTickCount64() - start;
    EXPECT_GT(shown.size(), 3u) << "the share done was shown as it grew";
    std::printf("editor: %d files in %llu ms, %.2f ms per file; the progress window answered within %ld ms\n", kFiles,
                added, static_cast<double>(added) / kFiles, slowest);

    const std::vector<std::string> entries = Entries();
    EXPECT_EQ(entries.front().rfind(root + "disc 01\\part 1\\track 001.mp2;;;", 0), 0u) << entries.front();
    EXPECT_EQ(entries.back().rfind(root + "disc 10\\part 2\\track 100.mp2;;;", 0), 0u) << entries.back();

    // The list is usable: the last entry is chosen and deleted.
    PressKeys(editor_, kList, {VK_HOME, VK_END});
    ASSERT_TRUE(WaitUntil([&] { return ListBoxSelection(editor_, kList) == kFiles - 1; }));
    Click(editor_, kDelete);
    ASSERT_TRUE(EntryCountBecomes(kFiles - 1));
    EXPECT_EQ(ListBoxSelection(editor_, kList), kFiles - 2);

    const std::string saved = root + "scale.pls";
    Click(editor_, kSave);
    ASSERT_TRUE(ChooseFile("Save As", saved));
    Click(editor_, kNew);
    ASSERT_TRUE(EntryCountBecomes(0));
    const ULONGLONG loading = GetTickCount64();
    Click(editor_, kLoad);
    ASSERT_TRUE(ChooseFile("Open", saved));
    ASSERT_TRUE(EntryCountBecomes(kFiles - 1, 60000));
    std::printf("editor: the saved list of %d entries loaded in %llu ms\n", kFiles - 1,
                GetTickCount64() - loading);
    std::vector<std::string> expected = entries;
    expected.pop_back();
    EXPECT_EQ(Entries(), expected);
}

} // namespace
} // namespace quavera::test
