#pragma once
// Base of the pages of the player's property sheets, and the modal run of a
// sheet made of such pages.
#include <windows.h>

#include <prsht.h>

#include <initializer_list>

#include "dialog.h"

namespace quavera {

class PropertyPage : public Dialog {
public:
    explicit PropertyPage(int templateId) : templateId_(templateId) {}
    // The description the sheet creates the page from; the page outlives the sheet.
    PROPSHEETPAGEA Describe(HINSTANCE instance);

protected:
    HWND sheet() const { return GetParent(window()); }
    // Enables the sheet's Apply button.
    void MarkModified() const;
    // Asks every page that exists to refresh from the data it shares.
    void RequestSiblingRefresh() const;

    virtual void OnCommand(int /*id*/, int /*code*/) {}
    virtual void OnScroll(HWND /*control*/) {}
    // Apply or OK; and Cancel.
    virtual void OnApply() {}
    virtual void OnReset() {}
    virtual void OnSiblingRefresh() {}

private:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) final;

    int templateId_;
};

// Runs the sheet modally over owner, opening on the first page. True when
// the user closed it with OK.
bool RunPropertySheet(HWND owner, HINSTANCE instance, const char* caption,
                      std::initializer_list<PropertyPage*> pages);

} // namespace quavera
