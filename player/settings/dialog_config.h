#pragma once
// "Controls": the taskbar controls, the information scroller and the dialog
// size, which the main dialog applies when told to.
#include "property_page.h"

namespace quavera {

class CDialogConfig final : public PropertyPage {
public:
    explicit CDialogConfig(HWND player);

private:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnApply() override;
    void OnReset() override;
    void ReadValues();
    void ShowValues();
    bool HasFocus(int id) const { return GetFocus() == GetDlgItem(window(), id); }

    HWND player_;
    bool taskBar_ = true;
    bool scroller_ = true;
    int dialogSize_ = 0;
    bool changed_ = false;
};

} // namespace quavera
