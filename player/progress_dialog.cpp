#include "progress_dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "resource.h"

namespace quavera {
namespace {

// Drawing every step would cost more than a step of a long scan.
constexpr DWORD kShowEveryMs = 50;
// The bar's own range is 16 bits wide.
constexpr int kBarRange = 10000;

} // namespace

ProgressDialog::ProgressDialog(HINSTANCE instance, HWND owner, const std::string& text, int range)
    : owner_(owner), text_(text), range_(range) {
    CreateModeless(instance, IDD_PROGRESS, owner);
    if (!window()) return;
    EnableWindow(owner_, FALSE);
    ShowWindow(window(), SW_SHOW);
    UpdateWindow(window());
}

ProgressDialog::~ProgressDialog() {
    if (!window()) return;
    EnableWindow(owner_, TRUE);
    DestroyWindow(window());
}

BOOL ProgressDialog::OnInitDialog() {
    SetWindowTextA(window(), text_.c_str());
    SendDlgItemMessageA(window(), IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, kBarRange);
    ShowProgress();
    return TRUE;
}

bool ProgressDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        cancelled_ = true;
        return true;
    }
    result = FALSE;
    return false;
}

bool ProgressDialog::Step(const std::string& entry) {
    if (!window()) return true;
    ++position_;
    entry_ = entry;
    const DWORD now = GetTickCount();
    if (now - lastShown_ >= kShowEveryMs || position_ >= range_) {
        lastShown_ = now;
        ShowProgress();
        HandleMessages();
    }
    return !cancelled_;
}

void ProgressDialog::SetRange(int range) {
    range_ = range;
    position_ = 0;
    if (window()) ShowProgress();
}

void ProgressDialog::ShowProgress() {
    const int share = range_ > 0 ? static_cast<int>(100LL * position_ / range_) : 0;
    char percent[16];
    std::snprintf(percent, sizeof percent, " %d %%", share);
    SetDlgItemTextA(window(), IDC_PROGRESS_PERCENT, percent);
    SetDlgItemTextA(window(), IDC_PROGRESS_ENTRY, entry_.c_str());
    const auto bar = range_ > 0 ? static_cast<WPARAM>(static_cast<long long>(kBarRange) * position_ / range_) : 0;
    SendDlgItemMessageA(window(), IDC_PROGRESS_BAR, PBM_SETPOS, bar, 0);
    UpdateWindow(window());
}

// Only this window's messages: the disabled owner must not run commands in
// the middle of the scan.
void ProgressDialog::HandleMessages() {
    MSG message;
    while (PeekMessageA(&message, window(), 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(window(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

} // namespace quavera
