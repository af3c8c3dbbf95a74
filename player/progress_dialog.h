#pragma once
// The small window that follows a long scan (the queue's, the playlist
// editor's): a bar, the share done in per cent, the entry being scanned and a
// Cancel button. While it is shown its owner is disabled, and the messages of
// this window are handled between the steps of the scan.
#include <windows.h>

#include <string>

#include "dialog.h"

namespace quavera {

class ProgressDialog final : public Dialog {
public:
    // Shows the window with the text as its caption, for steps 0 to range.
    ProgressDialog(HINSTANCE instance, HWND owner, const std::string& text, int range);
    ~ProgressDialog() override;

    // Moves on by one step while showing the entry; false once the user has
    // cancelled.
    bool Step(const std::string& entry);
    // Counts again from 0, for steps 0 to range.
    void SetRange(int range);

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void ShowProgress();
    void HandleMessages();

    HWND owner_;
    std::string text_;
    int range_;
    int position_ = 0;
    std::string entry_;
    bool cancelled_ = false;
    DWORD lastShown_ = 0;
};

} // namespace quavera
