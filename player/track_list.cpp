#include "track_list.h"

#include <algorithm>

#include "list_lines.h"
#include "queue_text.h"

namespace quavera {

void TrackList::Attach(HWND list) {
    list_ = list;
    FitLinesToFont(list_);
}

void TrackList::Clear() {
    ListMessage(list_, LB_RESETCONTENT);
    extent_ = 0;
    ListMessage(list_, LB_SETHORIZONTALEXTENT, 0);
}

void TrackList::Reserve(int count) {
    // About the bytes of a line with its number.
    constexpr LPARAM kLineBytes = 40;
    if (count > 0) ListMessage(list_, LB_INITSTORAGE, static_cast<WPARAM>(count), count * kLineBytes);
}

void TrackList::Add(int k, const std::string& text) {
    ListMessage(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TrackListLine(k, text).c_str()));
}

void TrackList::Select(int k) { ListMessage(list_, LB_SETCURSEL, static_cast<WPARAM>(k - 1)); }

int TrackList::Selected() const {
    const LRESULT line = ListMessage(list_, LB_GETCURSEL);
    return line == LB_ERR ? 0 : static_cast<int>(line) + 1;
}

std::string TrackList::Text(int k) const {
    const std::string line = ListItemText(list_, k - 1);
    return line.substr(std::min(line.size(), TrackListLine(k, "").size()));
}

void TrackList::Redraw() const { InvalidateRect(list_, nullptr, TRUE); }

void TrackList::Draw(const DRAWITEMSTRUCT& item, const std::function<bool(int k)>& played) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const int k = static_cast<int>(item.itemID) + 1;
    // Grey would not read on the selection's colour.
    const int color = selected ? COLOR_HIGHLIGHTTEXT : played(k) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT;
    DrawListLine(item, ListItemText(list_, static_cast<int>(item.itemID)), selected ? COLOR_HIGHLIGHT : COLOR_WINDOW,
                 color, (item.itemState & ODS_FOCUS) != 0, extent_);
}

} // namespace quavera
