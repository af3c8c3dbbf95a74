#pragma once
// The main dialog's three sizes. The dialog is made from the large layout;
// the medium and small templates say where their controls go, and the
// controls a template leaves out are hidden in that size.
#include <windows.h>

#include <vector>

namespace quavera {

// The "DialogState" values; SetDialogSize also takes the two below.
enum DialogSize : int { kLargeDialog = 0, kMediumDialog = 1, kSmallDialog = 2 };
constexpr int kHideDialog = 3;
constexpr int kShowDialogAgain = 4;
constexpr int kDialogSizes = 3;

class DialogLayout {
public:
    // Measures the large layout, as the dialog was made from it: the wide
    // width (with the track section), the narrow width and the height.
    void Attach(HWND dialog, HINSTANCE instance);
    // Client width of the dialog without the track section.
    int narrowWidth() const { return narrowWidth_; }

    // Every control takes its place in the size's template, shown as the
    // template shows it; controls the template lacks are hidden.
    void Arrange(DialogSize size) const;
    // The window's size for the layout, keeping its top left corner: wide
    // only in the large size with the track section shown.
    void Fit(DialogSize size, bool wide) const;

private:
    HWND dialog_ = nullptr;
    HINSTANCE instance_ = nullptr;
    // The controls the sizes place: those of the large layout.
    std::vector<int> controls_;
    int narrowWidth_ = 0;
    int wideWidth_ = 0;
    int largeHeight_ = 0;
};

} // namespace quavera
