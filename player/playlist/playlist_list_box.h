#pragma once
// The playlist editor's list: one entry text per item, drawn by its owner as
// "%d. " and the entry's alias or name, with or without the name's folder and
// extension. The user reorders the entries by dragging them: it is a drag
// list, whose dragging messages its dialog hands on to it.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace quavera {

class PlaylistListBox {
public:
    // Makes the list a drag list with lines as high as its font.
    void Attach(HWND list);
    HWND window() const { return list_; }

    int count() const;
    std::string Entry(int index) const;
    std::vector<std::string> Entries() const;
    // While it lives, many entries are being added: the list makes room for
    // them at once and is drawn again when they are in. Drawn after every
    // entry, its scroll bar alone costs more than the entry's scan.
    class Adding {
    public:
        Adding(PlaylistListBox& list, int count);
        ~Adding();
        Adding(const Adding&) = delete;
        Adding& operator=(const Adding&) = delete;

    private:
        HWND list_;
    };
    void Append(const std::string& entry);
    void Insert(int index, const std::string& entry);
    void Remove(int index);
    void Clear();
    // The selected index, or -1.
    int Selected() const;
    void Select(int index);
    // The index of the item at a point of the screen, or -1.
    int ItemAt(POINT screen) const;

    void ShowPaths(bool show);
    void ShowExtensions(bool show);
    // The list has gained or lost the keyboard focus.
    void SetFocused(bool focused);
    void Draw(const DRAWITEMSTRUCT& item);

    // A message of the dragging: the result for the dialog to return. moved
    // becomes true when a drop has moved an entry, which is then selected.
    LRESULT OnDrag(const DRAGLISTINFO& info, bool& moved);

private:
    void Redraw();
    // Whether a point of the screen lies on the list.
    bool Holds(POINT screen) const;

    HWND list_ = nullptr;
    bool showPaths_ = false;
    bool showExtensions_ = false;
    // The widest line drawn since the display options last changed.
    int extent_ = 1;
    bool focused_ = false;
    int dragged_ = -1;
};

} // namespace quavera
