#include "internet_properties.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "registry_values.h"
#include "resource.h"
#include "winbasic.h"

namespace quavera {
namespace {

constexpr const char* kKey = reg::kConfigurationKey;
// What the registry readers can give back.
constexpr int kLongestText = static_cast<int>(reg::kStringSize) - 1;
constexpr int kLongestPort = 5;

void ShowString(HWND page, int id, const char* name) {
    SetDlgItemTextA(page, id, reg::ReadStringSetting(name).c_str());
}

// The number the text starts with; 0 when it starts with none or the number
// does not fit.
int PortNumber(const std::string& text) {
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return errno == 0 && value > 0 && value <= 0x7FFFFFFF ? static_cast<int>(value) : 0;
}

} // namespace

CInternetProperties::CInternetProperties() : PropertyPage(IDD_INTERNET_PROPERTIES) {}

BOOL CInternetProperties::OnInitDialog() {
    for (const int id : {IDC_PROXY, IDC_USER, IDC_PASSWORD})
        SendDlgItemMessageA(window(), id, EM_LIMITTEXT, kLongestText, 0);
    SendDlgItemMessageA(window(), IDC_PROXY_PORT, EM_LIMITTEXT, kLongestPort, 0);
    ShowValues();
    return TRUE;
}

void CInternetProperties::ShowValues() {
    ShowString(window(), IDC_PROXY, reg::kProxy);
    ShowString(window(), IDC_USER, reg::kUser);
    ShowString(window(), IDC_PASSWORD, reg::kPassword);
    SetDlgItemInt(window(), IDC_PROXY_PORT, static_cast<UINT>(reg::ReadSetting(reg::kProxyPort, 0)), TRUE);
    CheckDownloadMode(reg::ReadSetting(reg::kPlayAndSave, 0) != 0);
    const bool skipScan = reg::ReadSetting(reg::kSkipHttpFileScan, 1) != 0;
    CheckDlgButton(window(), IDC_SKIP_FILE_SCAN, skipScan ? BST_CHECKED : BST_UNCHECKED);
    proxyChanged_ = false;
    accountChanged_ = false;
    downloadChanged_ = false;
}

void CInternetProperties::CheckDownloadMode(bool andSave) {
    CheckDlgButton(window(), IDC_DOWNLOAD_ONLY, andSave ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(window(), IDC_DOWNLOAD_AND_SAVE, andSave ? BST_CHECKED : BST_UNCHECKED);
}

void CInternetProperties::OnCommand(int id, int code) {
    switch (id) {
    case IDC_PROXY:
    case IDC_PROXY_PORT:
    case IDC_USER:
    case IDC_PASSWORD:
        // Texts the page sets itself leave the edit unmodified.
        if (code != EN_CHANGE || !SendDlgItemMessageA(window(), id, EM_GETMODIFY, 0, 0)) return;
        (id == IDC_PROXY || id == IDC_PROXY_PORT ? proxyChanged_ : accountChanged_) = true;
        break;
    case IDC_DOWNLOAD_ONLY:
    case IDC_DOWNLOAD_AND_SAVE:
        if (code != BN_CLICKED) return;
        CheckDownloadMode(id == IDC_DOWNLOAD_AND_SAVE);
        downloadChanged_ = true;
        break;
    default: return;
    }
    MarkModified();
}

std::string CInternetProperties::ItemString(int id) const {
    char text[reg::kStringSize] = {};
    GetDlgItemTextA(window(), id, text, sizeof text);
    return text;
}

void CInternetProperties::OnApply() {
    if (proxyChanged_) {
        WriteRegString(kKey, reg::kProxy, ItemString(IDC_PROXY).c_str());
        const std::string port = ItemString(IDC_PROXY_PORT);
        // A port that is not a number leaves the stored one as it was.
        if (port.empty())
            WriteRegInt(kKey, reg::kProxyPort, 0);
        else if (const int number = PortNumber(port))
            WriteRegInt(kKey, reg::kProxyPort, static_cast<DWORD>(number));
        proxyChanged_ = false;
    }
    if (accountChanged_) {
        WriteRegString(kKey, reg::kUser, ItemString(IDC_USER).c_str());
        WriteRegString(kKey, reg::kPassword, ItemString(IDC_PASSWORD).c_str());
        accountChanged_ = false;
    }
    if (downloadChanged_) {
        WriteRegInt(kKey, reg::kPlayAndSave, IsDlgButtonChecked(window(), IDC_DOWNLOAD_AND_SAVE) == BST_CHECKED);
        downloadChanged_ = false;
    }
    WriteRegInt(kKey, reg::kSkipHttpFileScan, IsDlgButtonChecked(window(), IDC_SKIP_FILE_SCAN) == BST_CHECKED);
}

void CInternetProperties::OnReset() { ShowValues(); }

} // namespace quavera
