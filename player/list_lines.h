#pragma once
// The lines of the player's owner-drawn list boxes (the track list, the
// playlist editor's list): one line of text each, as high as the list's
// font, and a horizontal extent that grows to the widest line drawn.
#include <windows.h>

#include <string>

namespace quavera {

// A message to a list box, with its result.
inline LRESULT ListMessage(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(list, message, wParam, lParam);
}

// The string of item i; empty when there is none.
std::string ListItemText(HWND list, int i);

// Makes the list's lines as high as its font.
void FitLinesToFont(HWND list);

// Draws the item's line: the background in one system colour, the text on
// one line in another, without "&" prefixes, and the focus rectangle when
// asked. Widens the list's horizontal extent, kept in extent, to the text.
void DrawListLine(const DRAWITEMSTRUCT& item, const std::string& text, int background, int foreground,
                  bool focusRectangle, int& extent);

} // namespace quavera
