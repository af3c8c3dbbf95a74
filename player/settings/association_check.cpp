#include "association_check.h"

#include "file_associations.h"
#include "registry_values.h"
#include "resource.h"
#include "winbasic.h"

namespace quavera {

// The question's window is made only when the check leaves something to ask.
void AssociationCheckDialog::Run(HINSTANCE instance, HWND owner) {
    if (reg::ReadSetting(reg::kCheckExtentions, 1) == 0) return;
    const AssociationState state = CheckAssociations();
    if (state.mismatches == kAssociatedExtensions)
        RegisterAssociations(programPath_);
    else if (state.mismatches != 0 || !state.classesPresent)
        RunModal(instance, IDD_ASSOCIATION_CHECK, owner);
}

BOOL AssociationCheckDialog::OnInitDialog() {
    SetForegroundWindow(window());
    return TRUE;
}

bool AssociationCheckDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
    if (message != WM_COMMAND) return false;
    switch (LOWORD(wParam)) {
    case IDYES:
        RegisterAssociations(programPath_);
        EndModal(IDOK);
        return true;
    case IDNO:
    case IDCANCEL: EndModal(IDNO); return true;
    case IDC_NO_ASSOCIATION_CHECK: {
        if (HIWORD(wParam) != BN_CLICKED) return false;
        const bool ticked = IsDlgButtonChecked(window(), IDC_NO_ASSOCIATION_CHECK) == BST_CHECKED;
        WriteRegInt(reg::kConfigurationKey, reg::kCheckExtentions, ticked ? 0 : 1);
        return true;
    }
    default: return false;
    }
}

} // namespace quavera
