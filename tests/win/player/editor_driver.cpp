#include "editor_driver.h"

#include <filesystem>
#include <system_error>

namespace quavera::test {

std::string FreshFolder(const std::string& name) {
    const std::string folder = TempFolder() + name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    return folder + "\\";
}

std::string CopyStream(const char* stream, const std::string& path) {
    CopyFileA(StreamPath(stream).c_str(), path.c_str(), FALSE);
    return path;
}

::testing::AssertionResult EditorTest::Start(const std::string& arguments, const std::string& caption) {
    player_ = std::make_unique<PlayerProcess>(arguments);
    main_ = player_->WaitForMainWindow();
    if (!main_) return ::testing::AssertionFailure() << "no main window";
    Click(main_, kPlaylist);
    editor_ = player_->WaitForBox(caption.c_str());
    if (!editor_) return ::testing::AssertionFailure() << "no editor captioned " << caption;
    return ::testing::AssertionSuccess();
}

void EditorTest::TearDown() {
    if (editor_ && IsWindow(editor_)) {
        PostCommand(editor_, IDCANCEL);
        WaitUntil(
            [&] {
                if (const HWND box = player_->WaitForBox(kQuestionCaption, 0)) player_->Answer(box, IDNO);
                return !IsWindow(editor_);
            },
            3000);
    }
    player_.reset();
    PlayerTest::TearDown();
}

bool EditorTest::EntryCountBecomes(int count, int timeoutMs) const {
    return WaitUntil([&] { return ListBoxCount(editor_, kList) == count; }, timeoutMs);
}

bool EditorTest::AnswerSaveQuestion(int button) {
    const HWND box = player_->WaitForBox(kQuestionCaption, 5000);
    if (!box) return false;
    const std::string text = player_->Answer(box, button);
    EXPECT_EQ(text, kSaveQuestion);
    return WaitUntil([&] { return !IsWindow(box); });
}

bool EditorTest::ChooseFile(const char* caption, const std::string& name) {
    const HWND dialog = player_->WaitForBox(caption);
    if (!dialog) return false;
    // The file name field, as the user types into it.
    for (const int field : {0x47C, 0x480}) SetDlgItemTextA(dialog, field, name.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

void EditorTest::Screenshot(const char* name) const {
    RECT rect{};
    GetWindowRect(editor_, &rect);
    SetCursorPos(rect.right + 20, rect.bottom + 20);
    SaveScreenshot(editor_, name);
}

bool EditorTest::EditorClosed() const {
    return WaitUntil([&] { return !IsWindow(editor_); });
}

} // namespace quavera::test
