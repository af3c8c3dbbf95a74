#include "button_pictures.h"

#include <commctrl.h>

#include "resource.h"

namespace quavera {
namespace {

struct ButtonPicture {
    int control;
    int bitmap;
};

constexpr ButtonPicture kPictures[] = {
    {IDC_OPEN, IDB_OPEN},         {IDC_URL, IDB_URL},         {IDC_PLAYLIST, IDB_PLAYLIST},
    {IDC_RANDOM, IDB_RANDOM},     {IDC_ENDLESS, IDB_ENDLESS}, {IDC_PROPERTIES, IDB_PROPERTIES},
    {IDC_EXIT, IDB_EXIT},         {IDC_PREVIOUS, IDB_PREVIOUS}, {IDC_REWIND, IDB_REWIND},
    {IDC_PAUSE, IDB_PAUSE},       {IDC_PLAY, IDB_PLAY},       {IDC_STOP, IDB_STOP},
    {IDC_FORWARD, IDB_FORWARD},   {IDC_NEXT, IDB_NEXT},
};

// The tool tip texts are string resources with the control's id.
void AddToolTips(HWND dialog, HINSTANCE instance) {
    // Owned by the dialog, which destroys it with itself.
    HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
    if (!tips) return;
    auto add = [&](int control) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, control));
        tool.hinst = instance;
        tool.lpszText = MAKEINTRESOURCEA(control);
        SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    };
    for (const ButtonPicture& picture : kPictures) add(picture.control);
    add(IDC_VOLUME);
}

} // namespace

void ButtonPictures::Attach(HWND dialog, HINSTANCE instance) {
    for (const ButtonPicture& picture : kPictures) {
        GdiObject bitmap(
            LoadImageA(instance, MAKEINTRESOURCEA(picture.bitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        SendDlgItemMessageA(dialog, picture.control, BM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(bitmap.get()));
        bitmaps_.push_back(std::move(bitmap));
    }
    AddToolTips(dialog, instance);
}

} // namespace quavera
