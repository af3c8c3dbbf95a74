#pragma once
// The start-up check of the shell's file associations: when none of the
// player's file types opens with the player, it registers itself at once;
// when only some do, it asks. "CheckExtentions" = 0 switches the check off.
#include <windows.h>

#include <string>

#include "dialog.h"

namespace quavera {

class AssociationCheckDialog final : public Dialog {
public:
    explicit AssociationCheckDialog(std::string programPath) : programPath_(std::move(programPath)) {}
    // Runs the check, and the question when it is needed.
    void Run(HINSTANCE instance, HWND owner);

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    std::string programPath_;
};

} // namespace quavera
