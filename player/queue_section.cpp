#include "queue_section.h"

#include "dialog.h"
#include "queue_text.h"
#include "resource.h"

namespace quavera {

void QueueSection::Attach(HWND dialog, int narrowWidth) {
    dialog_ = dialog;
    list_.Attach(GetDlgItem(dialog, IDC_TRACK_LIST));
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ChildRect(child).left >= narrowWidth) controls_.push_back(child);
    ShowControls();
}

void QueueSection::SetWanted(bool wanted) {
    if (wanted == wanted_) return;
    wanted_ = wanted;
    ShowControls();
}

void QueueSection::SetRoom(bool room) {
    room_ = room;
    ShowControls();
}

void QueueSection::ShowControls() const {
    const bool shown = wanted_ && room_;
    for (HWND control : controls_) ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
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
