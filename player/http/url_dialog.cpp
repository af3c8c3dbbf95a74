#include "url_dialog.h"

#include <vector>

#include "dialog.h"
#include "http_address.h"
#include "resource.h"
#include "winbasic.h"

namespace quavera {
namespace {

// The player keeps names of at most this many characters.
constexpr WPARAM kMaxAddressText = 255;

class UrlDialog final : public Dialog {
public:
    explicit UrlDialog(const std::string& recent) : recent_(recent) {}

    std::optional<std::string> Run(HINSTANCE instance, HWND owner) {
        if (RunModal(instance, IDD_URL, owner) != IDOK) return std::nullopt;
        return result_;
    }

private:
    BOOL OnInitDialog() override {
        SendDlgItemMessageA(window(), IDC_URL_ADDRESS, EM_LIMITTEXT, kMaxAddressText, 0);
        SetDlgItemTextA(window(), IDC_URL_ADDRESS, recent_.c_str());
        return TRUE;
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) override {
        result = FALSE;
        if (message != WM_COMMAND) return false;
        switch (LOWORD(wParam)) {
        case IDOK: OnOk(); return true;
        case IDCANCEL: EndModal(IDCANCEL); return true;
        default: return false;
        }
    }

    void OnOk() {
        if (!SendDlgItemMessageA(window(), IDC_URL_ADDRESS, EM_GETMODIFY, 0, 0)) {
            result_ = recent_;
            EndModal(IDOK);
            return;
        }
        std::vector<char> text(kMaxAddressText + 1);
        GetDlgItemTextA(window(), IDC_URL_ADDRESS, text.data(), static_cast<int>(text.size()));
        const std::optional<std::string> address = CompleteTypedAddress(text.data());
        if (!address) {
            ShowMessage(window(), "You have to provide a vaild URL!\n\nOnly HTTP addresses are allowed so far!",
                        "URL check", MB_OK | MB_ICONWARNING);
            return;
        }
        result_ = *address;
        EndModal(IDOK);
    }

    const std::string recent_;
    std::string result_;
};

} // namespace

std::optional<std::string> AskForUrl(HINSTANCE instance, HWND owner, const std::string& recent) {
    UrlDialog dialog(recent);
    return dialog.Run(instance, owner);
}

} // namespace quavera
