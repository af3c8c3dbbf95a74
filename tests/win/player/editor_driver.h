#pragma once
// The playlist editor as the tests drive it: its control ids, its texts, and
// a fixture that starts the player and opens the editor from it.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "player_driver.h"

namespace quavera::test {

enum EditorControl : int {
    kFileTypes = 1048,
    kList = 1049,
    kSave = 1050,
    kLoad = 1051,
    kImport = 1052,
    kLaunch = 1053,
    kDelete = 1054,
    kSubfolders = 1056,
    kExtensions = 1057,
    kPaths = 1058,
    kNew = 1059,
    kPlaylistGroup = 1111,
    kTypesGroup = 1112,
    kBottom = 1117,
    kTop = 1118,
    kEntryProperties = 1119,
};

constexpr const char* kEditorCaption = "Quavera Playlist Editor";
constexpr const char* kQuestionCaption = "Playlist Editor";
constexpr const char* kSaveQuestion = "Current settings are not saved!. Save them now?";

// A folder of the temporary folder made anew (its former content removed),
// ending in "\".
std::string FreshFolder(const std::string& name);
// A copy of a test stream under another name.
std::string CopyStream(const char* stream, const std::string& path);

class EditorTest : public PlayerTest {
protected:
    // An editor still open is cancelled, its changes given up, before the
    // player closes.
    void TearDown() override;
    // Starts the player with the arguments and opens the editor through the
    // Playlist button; its caption must then read so.
    ::testing::AssertionResult Start(const std::string& arguments, const std::string& caption = kEditorCaption);
    // The editor's entries: the strings of its list.
    std::vector<std::string> Entries() const { return ListBoxLines(editor_, kList); }
    // Waits for the list to hold so many entries.
    bool EntryCountBecomes(int count, int timeoutMs = 10000) const;
    // Answers the unsaved-changes question; false when none is asked.
    bool AnswerSaveQuestion(int button);
    // Chooses the name in the Open or Save As dialog of that caption.
    bool ChooseFile(const char* caption, const std::string& name);
    bool EditorClosed() const;
    // The editor as it looks, with the mouse out of the way of its tips.
    void Screenshot(const char* name) const;

    std::unique_ptr<PlayerProcess> player_;
    HWND main_ = nullptr;
    HWND editor_ = nullptr;
};

} // namespace quavera::test
