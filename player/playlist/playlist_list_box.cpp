#include "playlist_list_box.h"

#include <algorithm>

#include "editor_rules.h"
#include "list_lines.h"
#include "queue_text.h"

namespace quavera {
namespace {

constexpr int kBaseExtent = 1;

} // namespace

void PlaylistListBox::Attach(HWND list) {
    list_ = list;
    FitLinesToFont(list_);
    MakeDragList(list_);
}

int PlaylistListBox::count() const { return static_cast<int>(ListMessage(list_, LB_GETCOUNT)); }

std::string PlaylistListBox::Entry(int index) const { return ListItemText(list_, index); }

std::vector<std::string> PlaylistListBox::Entries() const {
    std::vector<std::string> entries;
    const int n = count();
    entries.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) entries.push_back(Entry(i));
    return entries;
}

PlaylistListBox::Adding::Adding(PlaylistListBox& list, int count) : list_(list.window()) {
    // About the bytes of an entry with its folder; a playlist may claim more
    // entries than it holds, so the room made at once is bounded.
    constexpr int kEntryBytes = 100;
    constexpr int kMostAtOnce = 1 << 16;
    const int room = std::min(count, kMostAtOnce);
    if (room > 0)
        ListMessage(list_, LB_INITSTORAGE, static_cast<WPARAM>(room), static_cast<LPARAM>(room) * kEntryBytes);
    ListMessage(list_, WM_SETREDRAW, FALSE);
}

PlaylistListBox::Adding::~Adding() {
    ListMessage(list_, WM_SETREDRAW, TRUE);
    InvalidateRect(list_, nullptr, TRUE);
}

void PlaylistListBox::Append(const std::string& entry) {
    ListMessage(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void PlaylistListBox::Insert(int index, const std::string& entry) {
    ListMessage(list_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry.c_str()));
}

void PlaylistListBox::Remove(int index) { ListMessage(list_, LB_DELETESTRING, static_cast<WPARAM>(index)); }

void PlaylistListBox::Clear() {
    ListMessage(list_, LB_RESETCONTENT);
    extent_ = kBaseExtent;
    ListMessage(list_, LB_SETHORIZONTALEXTENT, kBaseExtent);
}

int PlaylistListBox::Selected() const {
    const LRESULT index = ListMessage(list_, LB_GETCURSEL);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void PlaylistListBox::Select(int index) { ListMessage(list_, LB_SETCURSEL, static_cast<WPARAM>(index)); }

int PlaylistListBox::ItemAt(POINT screen) const {
    POINT point = screen;
    ScreenToClient(list_, &point);
    const auto hit = static_cast<DWORD>(ListMessage(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y)));
    RECT client{};
    GetClientRect(list_, &client);
    // The list answers with the nearest item, and says when it lies outside.
    return HIWORD(hit) == 0 && PtInRect(&client, point) ? static_cast<int>(LOWORD(hit)) : -1;
}

bool PlaylistListBox::Holds(POINT screen) const {
    RECT rect{};
    GetWindowRect(list_, &rect);
    return PtInRect(&rect, screen) != FALSE;
}

void PlaylistListBox::ShowPaths(bool show) {
    showPaths_ = show;
    Redraw();
}

void PlaylistListBox::ShowExtensions(bool show) {
    showExtensions_ = show;
    Redraw();
}

void PlaylistListBox::Redraw() {
    extent_ = kBaseExtent;
    ListMessage(list_, LB_SETHORIZONTALEXTENT, kBaseExtent);
    InvalidateRect(list_, nullptr, TRUE);
}

void PlaylistListBox::SetFocused(bool focused) {
    focused_ = focused;
    InvalidateRect(list_, nullptr, TRUE);
}

void PlaylistListBox::Draw(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const int index = static_cast<int>(item.itemID);
    const std::string text = TrackListLine(index + 1, EntryTitle(Entry(index), showPaths_, showExtensions_));
    // Without the focus the selection stays visible, in the quieter colour.
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const int background = !selected ? COLOR_WINDOW : focused_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    const int foreground = selected && focused_ ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
    DrawListLine(item, text, background, foreground, focused_ && (item.itemState & ODS_FOCUS) != 0, extent_);
}

LRESULT PlaylistListBox::OnDrag(const DRAGLISTINFO& info, bool& moved) {
    moved = false;
    switch (info.uNotification) {
    case DL_BEGINDRAG:
        dragged_ = LBItemFromPt(list_, info.ptCursor, FALSE);
        return dragged_ >= 0;
    case DL_DRAGGING: {
        const int target = LBItemFromPt(list_, info.ptCursor, TRUE);
        DrawInsert(GetParent(list_), list_, target);
        return Holds(info.ptCursor) ? DL_MOVECURSOR : DL_STOPCURSOR;
    }
    case DL_DROPPED: {
        DrawInsert(GetParent(list_), list_, -1);
        const int from = dragged_;
        dragged_ = -1;
        if (from < 0 || from >= count()) return 0;
        // Dropped below the last entry: to the end.
        int to = LBItemFromPt(list_, info.ptCursor, FALSE);
        if (to < 0) {
            if (!Holds(info.ptCursor)) return 0;
            to = count() - 1;
        }
        if (to == from) return 0;
        const std::string entry = Entry(from);
        Remove(from);
        Insert(to, entry);
        Select(to);
        moved = true;
        return 0;
    }
    case DL_CANCELDRAG:
        DrawInsert(GetParent(list_), list_, -1);
        dragged_ = -1;
        return 0;
    default: return 0;
    }
}

} // namespace quavera
