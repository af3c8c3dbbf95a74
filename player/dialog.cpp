#include "dialog.h"

#include <prsht.h>

namespace quavera {

RECT ChildRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND Dialog::CreateModeless(HINSTANCE instance, int templateId, HWND owner) {
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, &Dialog::Procedure,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::RunModal(HINSTANCE instance, int templateId, HWND owner) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* created = message == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lParam) : nullptr;
    return Dispatch(created, window, message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* created = nullptr;
    if (message == WM_INITDIALOG)
        created = reinterpret_cast<Dialog*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
    return Dispatch(created, window, message, wParam, lParam);
}

INT_PTR Dialog::Dispatch(Dialog* created, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = created;
    if (self) {
        self->window_ = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;
    // Exceptions must not unwind through the system's dispatcher; a failed
    // handler counts as not handled.
    try {
        if (message == WM_INITDIALOG) return self->OnInitDialog();
        INT_PTR result = TRUE;
        const bool handled = self->OnMessage(message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(window, DWLP_USER, 0);
            self->window_ = nullptr;
        }
        return handled ? result : FALSE;
    } catch (...) {
        return FALSE;
    }
}

} // namespace quavera
