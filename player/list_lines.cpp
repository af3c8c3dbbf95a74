#include "list_lines.h"

#include "win_handles.h"

namespace quavera {
namespace {

constexpr int kTextMargin = 2;

} // namespace

std::string ListItemText(HWND list, int i) {
    const auto length = ListMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(i));
    if (length == LB_ERR) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    // The list writes the terminating zero after the text.
    ListMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    return text;
}

void FitLinesToFont(HWND list) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(WindowFontDC(list).get(), &metrics);
    ListMessage(list, LB_SETITEMHEIGHT, 0, metrics.tmHeight);
}

void DrawListLine(const DRAWITEMSTRUCT& item, const std::string& text, int background, int foreground,
                  bool focusRectangle, int& extent) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(background));
    SetTextColor(item.hDC, GetSysColor(foreground));
    SetBkMode(item.hDC, TRANSPARENT);
    const int length = static_cast<int>(text.size());
    TextOutA(item.hDC, item.rcItem.left + kTextMargin, item.rcItem.top, text.c_str(), length);
    if (focusRectangle) DrawFocusRect(item.hDC, &item.rcItem);

    SIZE size{};
    GetTextExtentPoint32A(item.hDC, text.c_str(), length, &size);
    if (size.cx + 2 * kTextMargin > extent) {
        extent = size.cx + 2 * kTextMargin;
        ListMessage(item.hwndItem, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent));
    }
}

} // namespace quavera
