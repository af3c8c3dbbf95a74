#pragma once
// "Internet": the proxy, the account for the server, whether a download is
// also saved, and whether opening a playlist scans its files.
#include <string>

#include "property_page.h"

namespace quavera {

class CInternetProperties final : public PropertyPage {
public:
    CInternetProperties();

private:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnApply() override;
    void OnReset() override;
    void ShowValues();
    void CheckDownloadMode(bool andSave);
    std::string ItemString(int id) const;

    bool proxyChanged_ = false;
    bool accountChanged_ = false;
    bool downloadChanged_ = false;
};

} // namespace quavera
