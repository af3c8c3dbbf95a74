#include "queue_section.h"

#include "queue_text.h"
#include "resource.h"

namespace quavera {
namespace {

RECT ClientRectOf(HWND control, HWND dialog) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int FrameWidth(HWND window) {
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    return (outer.right - outer.left) - client.right;
}

} // namespace

void QueueSection::Attach(HWND dialog) {
    dialog_ = dialog;
    list_.Attach(GetDlgItem(dialog, IDC_TRACK_LIST));
    // The single-track layout ends where the track section begins, with the
    // same margin on the right as the position slider has on the left.
    const RECT slider = ClientRectOf(GetDlgItem(dialog, IDC_POSITION), dialog);
    narrowWidth_ = slider.right + slider.left;
    RECT client{};
    GetClientRect(dialog, &client);
    wideWidth_ = client.right;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClientRectOf(child, dialog).left >= narrowWidth_) controls_.push_back(child);
    SetVisible(false);
}

void QueueSection::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    for (HWND control : controls_) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
    RECT outer{};
    GetWindowRect(dialog_, &outer);
    const int width = (visible ? wideWidth_ : narrowWidth_) + FrameWidth(dialog_);
    SetWindowPos(dialog_, nullptr, 0, 0, width, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void QueueSection::SetText(int id, const std::string& text) const { SetDlgItemTextA(dialog_, id, text.c_str()); }

void QueueSection::ShowCounters(int current, int count, int waiting) {
    SetText(IDC_TRACK_NUMBER, CounterText(current));
    SetText(IDC_TRACK_COUNT, CounterText(count));
    SetText(IDC_TRACKS_TO_GO, CounterText(waiting));
}

void QueueSection::ShowTotalTime(std::int64_t totalMs) { SetText(IDC_TOTAL_TIME, FormatTotalTime(totalMs)); }

void QueueSection::ShowTotalPosition(bool remaining, std::int64_t totalMs, std::int64_t playedMs) {
    SetText(IDC_TOTAL_POSITION, FormatTotalPosition(remaining, totalMs, playedMs));
}

void QueueSection::ShowTotalMode(bool remaining) {
    CheckDlgButton(dialog_, IDC_TOTAL_ELAPSED_MODE, remaining ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(dialog_, IDC_TOTAL_REMAINING_MODE, remaining ? BST_CHECKED : BST_UNCHECKED);
    SetText(IDC_TOTAL_MODE_LABEL, remaining ? "Total rem. time:" : "Total elap. time:");
}

} // namespace quavera
