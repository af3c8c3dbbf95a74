#pragma once
// Base of the player's dialogs: one window procedure that finds the object
// behind a dialog window and hands every message to it.
#include <windows.h>

namespace quavera {

// A control's rectangle in its parent's client coordinates.
RECT ChildRect(HWND control);

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }

protected:
    // Creates the dialog without showing it; the template decides visibility.
    HWND CreateModeless(HINSTANCE instance, int templateId, HWND owner = nullptr);
    // Runs the dialog until EndModal; returns the value given to it (-1 when
    // the dialog could not be made).
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);
    void EndModal(INT_PTR result) { EndDialog(window_, result); }
    // The procedure of a property page, whose page description carries the
    // object in its lParam.
    static INT_PTR CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    virtual BOOL OnInitDialog() = 0;
    // Returns true when the message was handled; result is the procedure's
    // result for messages that need one.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // created: the object, with WM_INITDIALOG; null for every later message.
    static INT_PTR Dispatch(Dialog* created, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

} // namespace quavera
