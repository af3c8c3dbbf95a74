#include "property_page.h"

#include <commctrl.h>

#include <vector>

namespace quavera {
namespace {

// The tag of the player's own sibling refresh request.
constexpr WPARAM kRefreshRequest = 0x5152;

} // namespace

PROPSHEETPAGEA PropertyPage::Describe(HINSTANCE instance) {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEA(templateId_);
    page.pfnDlgProc = &Dialog::PageProcedure;
    page.lParam = reinterpret_cast<LPARAM>(static_cast<Dialog*>(this));
    return page;
}

void PropertyPage::MarkModified() const { PropSheet_Changed(sheet(), window()); }

void PropertyPage::RequestSiblingRefresh() const { PropSheet_QuerySiblings(sheet(), kRefreshRequest, 0); }

bool PropertyPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return true;
    case WM_HSCROLL: OnScroll(reinterpret_cast<HWND>(lParam)); return true;
    case WM_NOTIFY:
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case PSN_APPLY: OnApply(); break;
        case PSN_RESET: OnReset(); break;
        default: result = FALSE; return false;
        }
        SetWindowLongPtrA(window(), DWLP_MSGRESULT, PSNRET_NOERROR);
        return true;
    case PSM_QUERYSIBLINGS:
        if (wParam == kRefreshRequest) OnSiblingRefresh();
        // Zero lets the sheet ask the next page as well.
        SetWindowLongPtrA(window(), DWLP_MSGRESULT, 0);
        return true;
    default: result = FALSE; return false;
    }
}

bool RunPropertySheet(HWND owner, HINSTANCE instance, const char* caption,
                      std::initializer_list<PropertyPage*> pages) {
    std::vector<PROPSHEETPAGEA> descriptions;
    for (PropertyPage* page : pages) descriptions.push_back(page->Describe(instance));
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszCaption = caption;
    header.nPages = static_cast<UINT>(descriptions.size());
    header.ppsp = descriptions.data();
    return PropertySheetA(&header) > 0;
}

} // namespace quavera
