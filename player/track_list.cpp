#include "track_list.h"

#include <algorithm>
#include <vector>

#include "queue_text.h"

namespace quavera {
namespace {

LRESULT Send(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(list, message, wParam, lParam);
}

constexpr int kTextMargin = 2;

} // namespace

void TrackList::Attach(HWND list) {
    list_ = list;
    TEXTMETRICA metrics{};
    HDC dc = GetDC(list_);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(Send(list_, WM_GETFONT)));
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(list_, dc);
    Send(list_, LB_SETITEMHEIGHT, 0, metrics.tmHeight);
}

void TrackList::Clear() {
    Send(list_, LB_RESETCONTENT);
    extent_ = 0;
    Send(list_, LB_SETHORIZONTALEXTENT, 0);
}

void TrackList::Reserve(int count) {
    // About the bytes of a line with its number.
    constexpr LPARAM kLineBytes = 40;
    if (count > 0) Send(list_, LB_INITSTORAGE, static_cast<WPARAM>(count), count * kLineBytes);
}

void TrackList::Add(int k, const std::string& text) {
    Send(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TrackListLine(k, text).c_str()));
}

void TrackList::Select(int k) { Send(list_, LB_SETCURSEL, static_cast<WPARAM>(k - 1)); }

int TrackList::Selected() const {
    const LRESULT line = Send(list_, LB_GETCURSEL);
    return line == LB_ERR ? 0 : static_cast<int>(line) + 1;
}

std::string TrackList::Text(int k) const {
    const auto length = Send(list_, LB_GETTEXTLEN, static_cast<WPARAM>(k - 1));
    if (length == LB_ERR) return {};
    std::string line(static_cast<std::size_t>(length), '\0');
    Send(list_, LB_GETTEXT, static_cast<WPARAM>(k - 1), reinterpret_cast<LPARAM>(line.data()));
    return line.substr(std::min(line.size(), TrackListLine(k, "").size()));
}

void TrackList::Redraw() const { InvalidateRect(list_, nullptr, TRUE); }

void TrackList::Draw(const DRAWITEMSTRUCT& item, const std::function<bool(int k)>& played) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const auto length = Send(list_, LB_GETTEXTLEN, item.itemID);
    if (length == LB_ERR) return;
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    Send(list_, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));

    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const int k = static_cast<int>(item.itemID) + 1;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    // Grey would not read on the selection's colour.
    const int color = selected ? COLOR_HIGHLIGHTTEXT : played(k) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT;
    SetTextColor(item.hDC, GetSysColor(color));
    SetBkMode(item.hDC, TRANSPARENT);
    const int textLength = static_cast<int>(length);
    TextOutA(item.hDC, item.rcItem.left + kTextMargin, item.rcItem.top, text.data(), textLength);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);

    SIZE size{};
    GetTextExtentPoint32A(item.hDC, text.data(), textLength, &size);
    if (size.cx + 2 * kTextMargin > extent_) {
        extent_ = size.cx + 2 * kTextMargin;
        Send(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent_));
    }
}

} // namespace quavera
