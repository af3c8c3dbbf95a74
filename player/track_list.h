#pragma once
// The queue's track list: an owner-drawn list box with one numbered line per
// entry, played lines in grey, and a horizontal extent that grows to the
// widest line drawn.
#include <windows.h>

#include <functional>
#include <string>

namespace quavera {

class TrackList {
public:
    // Lines take the height of the list's font.
    void Attach(HWND list);
    HWND window() const { return list_; }

    void Clear();
    // Room for that many lines, so that a long list is not regrown line by line.
    void Reserve(int count);
    // Adds the line of entry k, which follows the last one added.
    void Add(int k, const std::string& text);
    // Selects the line of entry k and scrolls it into view; 0 selects none.
    void Select(int k);
    // The entry of the selected line, or 0.
    int Selected() const;
    // The text of entry k's line without its number.
    std::string Text(int k) const;
    void Redraw() const;

    // played: whether entry k has played (or cannot).
    void Draw(const DRAWITEMSTRUCT& item, const std::function<bool(int k)>& played);

private:
    HWND list_ = nullptr;
    int extent_ = 0;
};

} // namespace quavera
