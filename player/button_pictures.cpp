#include "button_pictures.h"

#include <commctrl.h>

#include "resource.h"

namespace quavera {
namespace {

constexpr ButtonPicture kPictures[] = {
    {IDC_OPEN, IDB_OPEN},         {IDC_URL, IDB_URL},         {IDC_PLAYLIST, IDB_PLAYLIST},
    {IDC_RANDOM, IDB_RANDOM},     {IDC_ENDLESS, IDB_ENDLESS}, {IDC_PROPERTIES, IDB_PROPERTIES},
    {IDC_EXIT, IDB_EXIT},         {IDC_PREVIOUS, IDB_PREVIOUS}, {IDC_REWIND, IDB_REWIND},
    {IDC_PAUSE, IDB_PAUSE},       {IDC_PLAY, IDB_PLAY},       {IDC_STOP, IDB_STOP},
    {IDC_FORWARD, IDB_FORWARD},   {IDC_NEXT, IDB_NEXT},
};

} // namespace

void ButtonPictures::Attach(HWND dialog, HINSTANCE instance) {
    Load(dialog, instance, kPictures);
    // The main dialog's tip texts are string resources with the control's id.
    std::vector<ControlTip> tips;
    for (const ButtonPicture& picture : kPictures) tips.push_back({picture.control, MAKEINTRESOURCEA(picture.control)});
    tips.push_back({IDC_VOLUME, MAKEINTRESOURCEA(IDC_VOLUME)});
    AddToolTips(dialog, instance, tips);
}

void ButtonPictures::Load(HWND dialog, HINSTANCE instance, std::span<const ButtonPicture> pictures) {
    for (const ButtonPicture& picture : pictures) {
        GdiObject bitmap(
            LoadImageA(instance, MAKEINTRESOURCEA(picture.bitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        SendDlgItemMessageA(dialog, picture.control, BM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(bitmap.get()));
        bitmaps_.push_back(std::move(bitmap));
    }
}

void AddToolTips(HWND dialog, HINSTANCE instance, std::span<const ControlTip> tips) {
    HWND window = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
    if (!window) return;
    for (const ControlTip& tip : tips) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, tip.control));
        tool.hinst = instance;
        tool.lpszText = const_cast<char*>(tip.text);
        SendMessageA(window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

} // namespace quavera
