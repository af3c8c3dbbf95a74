// The playlist editor as the user meets it: opened from the main dialog,
// filled by drops, loads, imports and addresses, reordered, saved, and its
// result played.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "editor_driver.h"
#include "player_driver.h"

namespace quavera::test {
namespace {

// An entry that the scan gave a length, without an alias: "name;;;ms".
::testing::AssertionResult IsScanned(const std::string& entry, const std::string& name) {
    const std::regex form(std::regex_replace(name, std::regex(R"([\\.^$|()\[\]{}*+?])"), R"(\$&)") + ";;;[0-9]+");
    if (std::regex_match(entry, form)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << entry << " is not " << name << " with a scanned length";
}

// The playback duration an entry holds, in milliseconds.
int DurationOf(const std::string& entry) { return std::atoi(entry.substr(entry.rfind(';') + 1).c_str()); }

std::string PlsText(const std::vector<std::string>& entries) {
    std::string text = "[playlist]\r\nNumberOfEntries=" + std::to_string(entries.size()) + "\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i)
        text += "File" + std::to_string(i + 1) + "=" + entries[i] + "\r\n";
    return text;
}

TEST_F(EditorTest, OpensEmptyWithItsControlsAndClosesWithCancel) {
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(ListItems(editor_, kFileTypes),
              (std::vector<std::string>{"MPEG audio file (*.mp2;*.mp3;*.l2;*.l3)", "All files (*.*)"}));
    EXPECT_EQ(ListSelection(editor_, kFileTypes), 0);
    EXPECT_TRUE(IsChecked(editor_, kSubfolders));
    EXPECT_FALSE(IsChecked(editor_, kExtensions));
    EXPECT_FALSE(IsChecked(editor_, kPaths));
    EXPECT_EQ(ListBoxCount(editor_, kList), 0);
    EXPECT_FALSE(IsWindowEnabled(main_)) << "the editor is modal";
    Screenshot("editor-empty");
    Click(editor_, IDCANCEL);
    EXPECT_TRUE(EditorClosed());
    EXPECT_EQ(player_->WaitForBox(kQuestionCaption, 300), nullptr) << "nothing to save";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));
}

TEST_F(EditorTest, FolderDropsTakeTheAudioFilesOfEverySubfolderOrEveryFileWhenAsked) {
    const std::string folder = FreshFolder("quavera-drop");
    CreateDirectoryA((folder + "sub").c_str(), nullptr);
    CreateDirectoryA((folder + "sub\\deeper").c_str(), nullptr);
    const std::vector<std::string> audio = {CopyStream("tone1.mp2", folder + "a.mp2"),
                                            CopyStream("tone1.mp2", folder + "B.MP3"),
                                            CopyStream("tone1.mp2", folder + "sub\\c.mp2"),
                                            CopyStream("tone1.mp2", folder + "sub\\deeper\\d.l2")};
    CopyStream("tone1.mp2", folder + "song.mp3.txt");
    WriteTempFile("quavera-drop\\notes.txt", "no audio\r\n");
    ASSERT_TRUE(Start(""));

    ASSERT_TRUE(player_->DropFiles(editor_, {folder.substr(0, folder.size() - 1)}));
    ASSERT_TRUE(EntryCountBecomes(4)) << ListBoxCount(editor_, kList);
    std::vector<std::string> entries = Entries();
    for (std::size_t i = 0; i < audio.size(); ++i) EXPECT_TRUE(IsScanned(entries[i], audio[i]));
    EXPECT_NEAR(DurationOf(entries[0]), 1045, 60);

    Click(editor_, kSubfolders);
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(editor_, kSubfolders); }));
    Click(editor_, kNew);
    ASSERT_TRUE(AnswerSaveQuestion(IDNO));
    ASSERT_TRUE(EntryCountBecomes(0));
    EXPECT_EQ(WindowText(editor_), "Quavera playlist editor");
    ASSERT_TRUE(player_->DropFiles(editor_, {folder}));
    ASSERT_TRUE(EntryCountBecomes(2));
    entries = Entries();
    EXPECT_TRUE(IsScanned(entries[0], audio[0]));
    EXPECT_TRUE(IsScanned(entries[1], audio[1]));

    ChooseListItem(editor_, kFileTypes, 1);
    ASSERT_TRUE(WaitUntil([&] { return ListSelection(editor_, kFileTypes) == 1; }));
    Click(editor_, kNew);
    ASSERT_TRUE(AnswerSaveQuestion(IDNO));
    Click(editor_, kSubfolders);
    ASSERT_TRUE(player_->DropFiles(editor_, {folder}));
    // The engine says of the text file that it holds no audio.
    const HWND box = player_->WaitForBox("Error!");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(player_->Answer(box, IDOK), "This is not a valid audiofile!");
    ASSERT_TRUE(EntryCountBecomes(6));
    entries = Entries();
    EXPECT_EQ(entries[2], folder + "notes.txt") << "kept without a length";
    EXPECT_TRUE(IsScanned(entries[3], folder + "song.mp3.txt"));
    EXPECT_TRUE(IsScanned(entries[5], audio[3]));
}

TEST_F(EditorTest, ATaggedFileIsAddedWithItsTitleAndLengthAndAnUnacceptedOneNotAtAll) {
    const std::string folder = FreshFolder("quavera-tagged");
    const std::string refused = CopyStream("tone1.mp2", folder + "song.mp3.txt");
    ASSERT_TRUE(Start(""));
    const std::string tagged = StreamPath("tagged.mp2");
    ASSERT_TRUE(player_->DropFiles(editor_, {refused, tagged}));
    ASSERT_TRUE(EntryCountBecomes(1));
    const std::string entry = ListBoxLine(editor_, kList, 0);
    EXPECT_EQ(entry.substr(0, entry.rfind(';') + 1), tagged + ";ABCDEFGHIJKLMNOPQRSTUVWXYZabcd;;");
    EXPECT_NEAR(DurationOf(entry), 10200, 100);
}

TEST_F(EditorTest, EntriesThatCarryTheirDurationAreNotScanned) {
    const std::string folder = FreshFolder("quavera-durations");
    CopyStream("tone1.mp2", folder + "one.mp2");
    const std::string list =
        WriteTempFile("quavera-durations\\stated.pls", PlsText({"missing.mp2;Gone;;5000", "one.mp2;;;7000"}));
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {list}));
    ASSERT_TRUE(EntryCountBecomes(2));
    EXPECT_EQ(Entries(), (std::vector<std::string>{folder + "missing.mp2;Gone;;5000", folder + "one.mp2;;;7000"}));
    EXPECT_EQ(player_->WaitForBox("Abort import", 300), nullptr) << "the missing file was not asked for";
    EXPECT_EQ(player_->WaitForBox("Error!", 100), nullptr);
}

TEST_F(EditorTest, AddressesWhoseScanTheSettingsSkipAskWhetherToAbortTheImport) {
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 1);
    const std::string list = WriteTempFile(
        "quavera-addresses.m3u", "http://127.0.0.1:9/a.mp3\r\nhttp://127.0.0.1:9/b.mp3;B;;3000\r\n"
                                 "http://127.0.0.1:9/c.mp3\r\nhttp://127.0.0.1:9/d.mp3\r\n");
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {list}));
    HWND box = player_->WaitForBox("Abort import");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(player_->Answer(box, IDNO), "Do you want to cancel the actual import process?");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    box = player_->WaitForBox("Abort import");
    ASSERT_NE(box, nullptr);
    player_->Answer(box, IDYES);
    ASSERT_TRUE(EntryCountBecomes(3));
    EXPECT_EQ(player_->WaitForBox("Abort import", 500), nullptr) << "Yes ended the import";
    EXPECT_EQ(Entries(), (std::vector<std::string>{"http://127.0.0.1:9/a.mp3", "http://127.0.0.1:9/b.mp3;B;;3000",
                                                 "http://127.0.0.1:9/c.mp3"}));
}

TEST_F(EditorTest, TheEditorOpensOnThePlayingPlaylistAndItsResultPlays) {
    const std::string list = WriteTempFile(
        "quavera-playing.pls", PlsText({StreamPath("tone120.mp2") + ";One", StreamPath("tone10.mp2")}));
    ASSERT_TRUE(Start(list, kEditorCaption + std::string(" - ") + list));
    ASSERT_TRUE(EntryCountBecomes(2));
    const std::vector<std::string> entries = Entries();
    EXPECT_TRUE(std::regex_match(entries[0], std::regex(".*tone120\\.mp2;One;;[0-9]+"))) << entries[0];
    EXPECT_TRUE(IsScanned(entries[1], StreamPath("tone10.mp2")));
    Click(editor_, IDOK);
    ASSERT_TRUE(EditorClosed());
    EXPECT_EQ(player_->WaitForBox(kQuestionCaption, 300), nullptr) << "a loaded .pls is no change";
    // The playlist, as it stands in its file, is the queue anew.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main_) == "Quavera - One"; })) << WindowText(main_);
    std::string recent;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentFile", &recent));
    EXPECT_EQ(recent, list);
}

TEST_F(EditorTest, DeletingTheOnlyEntryLeavesNothingToSaveAndOkPlaysTheSamePlaylist) {
    const std::string list = WriteTempFile("quavera-only.pls", PlsText({StreamPath("tone120.mp2") + ";Only"}));
    ASSERT_TRUE(Start(list, kEditorCaption + std::string(" - ") + list));
    ASSERT_TRUE(EntryCountBecomes(1));
    // Chosen by the user: a change of the selection counts as a change.
    ChooseListItem(editor_, kList, 0);
    ASSERT_TRUE(WaitUntil([&] { return ListBoxSelection(editor_, kList) == 0; }));
    Click(editor_, kDelete);
    ASSERT_TRUE(EntryCountBecomes(0));
    Click(editor_, IDOK);
    ASSERT_TRUE(EditorClosed());
    EXPECT_EQ(player_->WaitForBox(kQuestionCaption, 300), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main_) == "Quavera - Only"; })) << WindowText(main_);
    EXPECT_EQ(FileContent(list), PlsText({StreamPath("tone120.mp2") + ";Only"})) << "the file stays";
}

TEST_F(EditorTest, OkAfterChangesAnsweredNoPlaysTheTemporaryList) {
    const std::string listPls = TempFolder() + "list.pls";
    DeleteFileA(listPls.c_str());
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {StreamPath("tone10.mp2"), StreamPath("tone1.mp2")}));
    ASSERT_TRUE(EntryCountBecomes(2));
    const std::vector<std::string> entries = Entries();
    Click(editor_, IDOK);
    ASSERT_TRUE(AnswerSaveQuestion(IDNO));
    ASSERT_TRUE(EditorClosed());
    EXPECT_EQ(FileContent(listPls), PlsText(entries)) << "names of other folders stay whole";
    EXPECT_TRUE(WaitUntil([&] { return ItemText(main_, kTrackCount) == "2 "; })) << ItemText(main_, kTrackCount);
    EXPECT_EQ(ListBoxLines(main_, kTrackList), (std::vector<std::string>{"1. tone10", "2. tone1"}));
}

TEST_F(EditorTest, MovesKeepTheSelectionWhereItWas) {
    const std::string tone = StreamPath("tone1.mp2");
    const std::string list =
        WriteTempFile("quavera-four.pls", PlsText({tone + ";A;;1", tone + ";B;;2", tone + ";C;;3", tone + ";D;;4"}));
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {list}));
    ASSERT_TRUE(EntryCountBecomes(4));
    const auto order = [&] {
        std::string aliases;
        for (const std::string& entry : Entries()) aliases += entry.substr(tone.size() + 1, 1);
        return aliases;
    };
    ChooseListItem(editor_, kList, 2);
    ASSERT_TRUE(WaitUntil([&] { return ListBoxSelection(editor_, kList) == 2; }));
    Click(editor_, kTop);
    EXPECT_TRUE(WaitUntil([&] { return order() == "CABD"; })) << order();
    EXPECT_EQ(ListBoxSelection(editor_, kList), 2);
    Click(editor_, kBottom);
    EXPECT_TRUE(WaitUntil([&] { return order() == "CADB"; })) << order();
    EXPECT_EQ(ListBoxSelection(editor_, kList), 2);
    Click(editor_, kDelete);
    EXPECT_TRUE(WaitUntil([&] { return order() == "CAB"; })) << order();
    EXPECT_EQ(ListBoxSelection(editor_, kList), 2);
    Click(editor_, kDelete);
    EXPECT_TRUE(WaitUntil([&] { return order() == "CA"; })) << order();
    EXPECT_EQ(ListBoxSelection(editor_, kList), 1) << "the last one when the last was deleted";
}

TEST_F(EditorTest, SaveWritesRelativeNamesAndLoadReadsThemBack) {
    const std::string folder = FreshFolder("quavera-save");
    CreateDirectoryA((folder + "rock").c_str(), nullptr);
    const std::string inside = CopyStream("tone1.mp2", folder + "near.mp2");
    const std::string below = CopyStream("tone1.mp2", folder + "rock\\below.mp2");
    const std::string elsewhere = StreamPath("tone10.mp2");
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {inside, below, elsewhere}));
    ASSERT_TRUE(EntryCountBecomes(3));
    const std::vector<std::string> entries = Entries();

    const std::string saved = folder + "saved.pls";
    Click(editor_, kSave);
    ASSERT_TRUE(ChooseFile("Save As", saved));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(editor_) == kEditorCaption + std::string(" - saved.pls"); }))
        << WindowText(editor_);
    std::vector<std::string> relative = entries;
    relative[0].erase(0, folder.size());
    relative[1].erase(0, folder.size());
    EXPECT_EQ(FileContent(saved), PlsText(relative));
    std::string recent;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentPlaylistFile", &recent));
    EXPECT_EQ(recent, saved);

    Click(editor_, kNew);
    ASSERT_TRUE(EntryCountBecomes(0));
    EXPECT_EQ(player_->WaitForBox(kQuestionCaption, 300), nullptr) << "saved: nothing to ask";
    Click(editor_, kLoad);
    // The recent playlist is offered.
    const HWND open = player_->WaitForBox("Open");
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ItemText(open, 0x47C) == "saved.pls" || ItemText(open, 0x480) == "saved.pls"; }));
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(EntryCountBecomes(3));
    EXPECT_EQ(Entries(), entries);
    EXPECT_EQ(WindowText(editor_), "Quavera playlist editor - " + saved);

    // Saved again over the file, which is replaced only when the user says
    // so, with an entry less: nothing of the longer list stays.
    ChooseListItem(editor_, kList, 2);
    Click(editor_, kDelete);
    ASSERT_TRUE(EntryCountBecomes(2));
    Click(editor_, kSave);
    const HWND saveAs = player_->WaitForBox("Save As");
    ASSERT_NE(saveAs, nullptr);
    PostMessageA(saveAs, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    const HWND confirm = player_->WaitForWindow(
        [](HWND w) { return ItemText(w, kMessageBoxText).find("already exists") != std::string::npos; });
    ASSERT_NE(confirm, nullptr);
    player_->Answer(confirm, IDYES);
    relative.pop_back();
    EXPECT_TRUE(WaitUntil([&] { return FileContent(saved) == PlsText(relative); })) << FileContent(saved);
}

// A playlist of entries with the aliases given, each naming the 1 s tone
// with a stated duration, so that loading it scans no stream.
std::string AliasList(const char* name, const std::string& aliases) {
    std::vector<std::string> entries;
    for (const char alias : aliases) entries.push_back(StreamPath("tone1.mp2") + ";" + alias + ";;1000");
    return WriteTempFile(name, PlsText(entries));
}

class EditorWithEntries : public EditorTest {
protected:
    // An empty editor that a drop has filled with entries named by their aliases.
    void Fill(const std::string& aliases) {
        ASSERT_TRUE(Start(""));
        ASSERT_TRUE(player_->DropFiles(editor_, {AliasList("quavera-aliases.pls", aliases)}));
        ASSERT_TRUE(EntryCountBecomes(static_cast<int>(aliases.size())));
    }
    // The aliases of the entries in their order.
    std::string Order() const {
        std::string aliases;
        for (const std::string& entry : Entries()) aliases += entry.substr(StreamPath("tone1.mp2").size() + 1, 1);
        return aliases;
    }
    bool OrderBecomes(const std::string& aliases) const {
        return WaitUntil([&] { return Order() == aliases; }, 3000);
    }
};

TEST_F(EditorWithEntries, TheKeysRunTheirCommands) {
    Fill("ABCD");
    ChooseListItem(editor_, kList, 2);
    ASSERT_TRUE(WaitUntil([&] { return ListBoxSelection(editor_, kList) == 2; }));
    ASSERT_TRUE(PressChord(editor_, {VK_MENU, 'T'}));
    EXPECT_TRUE(OrderBecomes("CABD")) << Order();
    ASSERT_TRUE(PressChord(editor_, {VK_MENU, 'B'}));
    EXPECT_TRUE(OrderBecomes("CADB")) << Order();
    ASSERT_TRUE(PressChord(editor_, {VK_DELETE}));
    EXPECT_TRUE(OrderBecomes("CAB")) << Order();
    ASSERT_TRUE(PressChord(editor_, {VK_BACK}));
    EXPECT_TRUE(OrderBecomes("CA")) << Order();

    // Each key opens the window of its command, which Cancel closes again.
    const struct {
        WORD key;
        const char* caption;
    } openers[] = {{'P', "Stream file properties"}, {'S', "Save As"}, {'O', "Open"}, {'I', "Open"},
                   {'U', "Internet streaming"}};
    for (const auto& opener : openers) {
        SCOPED_TRACE(opener.caption);
        ASSERT_TRUE(PressChord(editor_, {VK_MENU, opener.key}));
        const HWND window = player_->WaitForBox(opener.caption, 5000);
        ASSERT_NE(window, nullptr);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
    }
    ASSERT_TRUE(PressChord(editor_, {VK_MENU, 'N'}));
    ASSERT_TRUE(AnswerSaveQuestion(IDNO));
    EXPECT_TRUE(EntryCountBecomes(0));
}

TEST_F(EditorWithEntries, EntriesAreDraggedToTheirNewPlace) {
    Fill("ABCD");
    ASSERT_TRUE(DragMouse(editor_, ListLineOnScreen(editor_, kList, 0), ListLineOnScreen(editor_, kList, 2)));
    EXPECT_TRUE(OrderBecomes("BCAD")) << Order();
    EXPECT_EQ(ListBoxSelection(editor_, kList), 2) << "the dragged entry is selected";
    ASSERT_TRUE(DragMouse(editor_, ListLineOnScreen(editor_, kList, 3), ListLineOnScreen(editor_, kList, 0)));
    EXPECT_TRUE(OrderBecomes("DBCA")) << Order();
    // Dropped on the list below its last entry: the end.
    ASSERT_TRUE(DragMouse(editor_, ListLineOnScreen(editor_, kList, 0), ListLineOnScreen(editor_, kList, 8)));
    EXPECT_TRUE(OrderBecomes("BCAD")) << Order();
    Click(editor_, IDCANCEL);
    ASSERT_TRUE(AnswerSaveQuestion(IDNO)) << "a move is a change";
    EXPECT_TRUE(EditorClosed());
}

TEST_F(EditorWithEntries, TheEntrysMenuWantsTheListsFocusForMovesAndDeletion) {
    Fill("ABC");
    // With the focus on a button, Move to top is greyed and cannot be chosen.
    PressKeys(editor_, kNew, {});
    RightClickListLine(editor_, kList, 1);
    EXPECT_TRUE(WaitUntil([&] { return ListBoxSelection(editor_, kList) == 1; })) << "the right click selects";
    player_->ChooseMenuItem(1, 300);
    EXPECT_EQ(Order(), "ABC");
    player_->CloseMenu();
    // Properties are not.
    RightClickListLine(editor_, kList, 2);
    ASSERT_TRUE(player_->ChooseMenuItem(4));
    const HWND sheet = player_->WaitForBox("Stream file properties");
    ASSERT_NE(sheet, nullptr);
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    // With the list's focus, Move to top can be chosen.
    ChooseListItem(editor_, kList, 0);
    RightClickListLine(editor_, kList, 1);
    ASSERT_TRUE(player_->ChooseMenuItem(1));
    EXPECT_TRUE(OrderBecomes("BAC")) << Order();
    // Elsewhere the menu holds only Help.
    PostMessageA(editor_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor_), MAKELPARAM(20, 20));
    ASSERT_TRUE(player_->ChooseMenuItem(1));
    EXPECT_EQ(Order(), "BAC");
}

TEST_F(EditorWithEntries, PropertiesOfAnEntryOpenByDoubleClickAndTheirOkIsAChange) {
    Fill("AB");
    DoubleClickListLine(editor_, kList, 1);
    const HWND sheet = player_->WaitForBox("Stream file properties");
    ASSERT_NE(sheet, nullptr);
    const HWND page = ShowPage(sheet, 1);
    ASSERT_NE(page, nullptr);
    constexpr int kFileName = 1121;
    EXPECT_EQ(ItemText(page, kFileName), StreamPath("tone1.mp2"));
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_EQ(Order(), "AB") << "the entry is back in its place";
    EXPECT_EQ(ListBoxSelection(editor_, kList), 1);
    Click(editor_, IDOK);
    ASSERT_TRUE(AnswerSaveQuestion(IDNO));
    EXPECT_TRUE(EditorClosed());
}

TEST_F(EditorWithEntries, CancelAsksAboutChangesAndACancelledSaveKeepsTheEditorOpen) {
    Fill("AB");
    Click(editor_, IDCANCEL);
    ASSERT_TRUE(AnswerSaveQuestion(IDYES));
    const HWND saveAs = player_->WaitForBox("Save As");
    ASSERT_NE(saveAs, nullptr);
    PostMessageA(saveAs, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(saveAs); }));
    Sleep(300);
    EXPECT_TRUE(IsWindow(editor_)) << "the changes were neither saved nor given up";
    // Asked again, with No the changes are given up.
    Click(editor_, IDCANCEL);
    ASSERT_TRUE(AnswerSaveQuestion(IDNO));
    EXPECT_TRUE(EditorClosed());
    EXPECT_EQ(WindowText(main_), "Quavera") << "Cancel plays nothing";
}

TEST_F(EditorWithEntries, ImportAppendsAPlaylistUrlAddsAnAddressAndLoadAddsAFileOrReplacesTheList) {
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 1);
    Fill("AB");
    const std::string more = AliasList("quavera-more.pls", "CD");
    Click(editor_, kImport);
    ASSERT_TRUE(ChooseFile("Open", more));
    EXPECT_TRUE(OrderBecomes("ABCD")) << Order();
    EXPECT_EQ(WindowText(editor_), kEditorCaption) << "the title stays";

    Click(editor_, kUrl);
    const HWND url = player_->WaitForBox("Internet streaming");
    ASSERT_NE(url, nullptr);
    constexpr int kAddress = 1104;
    TypeText(url, kAddress, "http://127.0.0.1:9/radio.mp3");
    PostMessageA(url, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(EntryCountBecomes(5));
    EXPECT_EQ(ListBoxLine(editor_, kList, 4), "http://127.0.0.1:9/radio.mp3");
    std::string recent;
    EXPECT_TRUE(GetRegString(kConfigurationKey, "RecentURL", &recent));
    EXPECT_EQ(recent, "http://127.0.0.1:9/radio.mp3");
    // The Save dialog starts from the imported playlist.
    Click(editor_, kSave);
    const HWND saveAs = player_->WaitForBox("Save As");
    ASSERT_NE(saveAs, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ItemText(saveAs, 0x47C) == "quavera-more.pls"; })) << ItemText(saveAs, 0x47C);
    PostMessageA(saveAs, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(saveAs); }));

    // Load adds an audio file, scanned; a playlist it loads in place of the
    // list, once the changes are answered for.
    Click(editor_, kLoad);
    ASSERT_TRUE(ChooseFile("Open", StreamPath("tone1.mp2")));
    ASSERT_TRUE(EntryCountBecomes(6));
    EXPECT_TRUE(IsScanned(ListBoxLine(editor_, kList, 5), StreamPath("tone1.mp2")));
    Click(editor_, kLoad);
    ASSERT_TRUE(ChooseFile("Open", more));
    ASSERT_TRUE(AnswerSaveQuestion(IDNO));
    EXPECT_TRUE(OrderBecomes("CD")) << Order();
    EXPECT_EQ(WindowText(editor_), "Quavera playlist editor - " + more);
}

TEST_F(EditorWithEntries, ClosingThePlayerWithUnsavedChangesAsksOnceMore) {
    Fill("AB");
    PostCommand(main_, kExit);
    ASSERT_TRUE(AnswerSaveQuestion(IDNO));
    EXPECT_TRUE(player_->WaitForExit());
}

RECT RectOf(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(id ? GetDlgItem(dialog, id) : dialog, &rect);
    return rect;
}

SIZE SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

bool SameSize(const RECT& a, const RECT& b) {
    return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

LRESULT HorizontalExtent(HWND dialog) {
    DWORD_PTR extent = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, kList), LB_GETHORIZONTALEXTENT, 0, 0, SMTO_ABORTIFHUNG, 2000, &extent);
    return static_cast<LRESULT>(extent);
}

TEST_F(EditorTest, ALongListShowsNamesOrPathsAndTheWindowGrowsButNotBelowItsFirstSize) {
    const std::string folder = FreshFolder("quavera-long\\Music of a rather long folder name");
    for (int i = 1; i <= 40; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Track %02d - a song of a rather long title.mp2", i);
        CopyStream("tone1.mp2", folder + name);
    }
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(player_->DropFiles(editor_, {folder}));
    ASSERT_TRUE(EntryCountBecomes(40));
    ChooseListItem(editor_, kList, 3);
    Screenshot("editor-long-list");
    const LRESULT namesExtent = HorizontalExtent(editor_);

    Click(editor_, kPaths);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(editor_, kPaths); }));
    Click(editor_, kExtensions);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(editor_, kExtensions); }));
    EXPECT_TRUE(WaitUntil([&] { return HorizontalExtent(editor_) > namesExtent + 200; }))
        << namesExtent << " " << HorizontalExtent(editor_);
    EXPECT_EQ(ListBoxSelection(editor_, kList), 3) << "the selection stays";
    Screenshot("editor-long-list-paths");

    const RECT first = RectOf(editor_, 0);
    const int controls[] = {IDOK, kSubfolders, kFileTypes, kTypesGroup, kList, kPlaylistGroup, kNew};
    std::vector<RECT> before;
    for (const int id : controls) before.push_back(RectOf(editor_, id));
    constexpr int dx = 300;
    constexpr int dy = 200;
    // At the screen's corner, so that the larger window fits on it.
    SetWindowPos(editor_, nullptr, 0, 0, SizeOf(first).cx + dx, SizeOf(first).cy + dy, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return SizeOf(RectOf(editor_, 0)).cx == SizeOf(first).cx + dx; }));
    // Each control's change within the window, which has moved to the corner.
    const RECT grown = RectOf(editor_, 0);
    const auto moved = [&](int i) {
        RECT now = RectOf(editor_, controls[i]);
        OffsetRect(&now, first.left - grown.left, first.top - grown.top);
        return RECT{now.left - before[i].left, now.top - before[i].top, now.right - before[i].right,
                    now.bottom - before[i].bottom};
    };
    const auto expect = [&](int i, RECT change) {
        const RECT got = moved(i);
        EXPECT_TRUE(EqualRect(&got, &change)) << controls[i] << ": " << got.left << "," << got.top << ","
                                              << got.right << "," << got.bottom;
    };
    expect(0, {dx, dy, dx, dy});  // OK keeps its corner
    expect(1, {0, dy, 0, dy});    // the options keep the bottom left
    expect(2, {0, dy, dx, dy});   // the file types stretch across
    expect(3, {0, dy, dx, dy});
    expect(4, {0, 0, dx, dy});    // the list takes the rest
    expect(5, {0, 0, dx, dy});
    expect(6, {0, 0, 0, 0});      // the tool buttons stay
    Screenshot("editor-resized");

    // Smaller than at first it does not get.
    SetWindowPos(editor_, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return SameSize(RectOf(editor_, 0), first); }));
    // Nor when its frame is dragged: the corner stops at the first size.
    const RECT now = RectOf(editor_, 0);
    ASSERT_TRUE(DragMouse(editor_, {now.right - 3, now.bottom - 3}, {now.right - 150, now.bottom - 120}));
    Sleep(300);
    const RECT dragged = RectOf(editor_, 0);
    EXPECT_TRUE(SameSize(dragged, first)) << SizeOf(dragged).cx << "x" << SizeOf(dragged).cy;
    EXPECT_EQ(dragged.left, now.left);
    EXPECT_EQ(dragged.top, now.top);
    ASSERT_TRUE(DragMouse(editor_, {now.right - 3, now.bottom - 3}, {now.right + 60, now.bottom + 40}));
    EXPECT_TRUE(WaitUntil([&] { return SizeOf(RectOf(editor_, 0)).cx == SizeOf(first).cx + 63; }))
        << SizeOf(RectOf(editor_, 0)).cx;
}

struct ForeignSearch {
    DWORD player;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectForeign(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ForeignSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (IsWindowVisible(window) && owner != search->player && owner != GetCurrentProcessId())
        search->found.push_back(window);
    return TRUE;
}

// Visible top-level windows of other processes than this one and the player.
std::vector<HWND> ForeignWindows(DWORD player) {
    ForeignSearch search{player, {}};
    EnumWindows(CollectForeign, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(EditorTest, LaunchStartsTheSystemsExplorer) {
    ASSERT_TRUE(Start(""));
    DWORD player = 0;
    GetWindowThreadProcessId(editor_, &player);
    const std::vector<HWND> before = ForeignWindows(player);
    Click(editor_, kLaunch);
    HWND explorer = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (const HWND window : ForeignWindows(player))
                if (std::find(before.begin(), before.end(), window) == before.end()) explorer = window;
            return explorer != nullptr;
        },
        15000));
    EXPECT_EQ(player_->WaitForBox("Application launcher", 100), nullptr);
    PostMessageA(explorer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(explorer); }));
}

// The text of the process's tip window that shows, or empty.
std::string ShownTip(DWORD process) {
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(tip, &owner);
        if (owner == process && IsWindowVisible(tip)) return WindowText(tip);
    }
    return {};
}

// The tip that shows while the mouse rests on the control, or empty.
std::string TipOf(HWND dialog, int id) {
    DWORD process = 0;
    GetWindowThreadProcessId(dialog, &process);
    RECT rect{};
    GetWindowRect(dialog, &rect);
    // Away from the dialog first, so that the tip shown before goes.
    SetCursorPos(rect.right + 20, rect.bottom + 20);
    WaitUntil([&] { return ShownTip(process).empty(); }, 3000);
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    std::string text;
    WaitUntil([&] { return !(text = ShownTip(process)).empty(); }, 3000);
    return text;
}

TEST_F(EditorTest, TheMainDialogsKeyOpensItAndItsControlsShowTheirTips) {
    player_ = std::make_unique<PlayerProcess>("");
    main_ = player_->WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(PressChord(main_, {VK_MENU, 'E'}));
    editor_ = player_->WaitForBox(kEditorCaption);
    ASSERT_NE(editor_, nullptr);
    EXPECT_EQ(TipOf(editor_, kTop), "Move the current item to the top of the playlist.");
    EXPECT_EQ(TipOf(editor_, kList), "Use Drag and Drop to add new files or to change song order.");
    EXPECT_EQ(TipOf(editor_, kPaths), "Enable/disable display of full path names.");
    Click(editor_, IDCANCEL);
    ASSERT_TRUE(EditorClosed());
    // And the item "Edit playlist" of the main dialog's menu.
    PostMessageA(main_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main_), MAKELPARAM(100, 100));
    ASSERT_TRUE(player_->ChooseMenuItem(4));
    editor_ = player_->WaitForBox(kEditorCaption);
    EXPECT_NE(editor_, nullptr);
}

} // namespace
} // namespace quavera::test
