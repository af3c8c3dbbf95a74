#include "volume_control.h"

#include <commctrl.h>

#include "resource.h"
#include "tamblin1.h"

namespace quavera {

void VolumeControl::Attach(HWND dialog, HINSTANCE instance) {
    slider_ = GetDlgItem(dialog, IDC_VOLUME);
    picture_ = GetDlgItem(dialog, IDC_VOLUME_PICTURE);
    for (unsigned i = 0; i < kVolumePictures; ++i)
        pictures_[i].reset(LoadImageA(instance, MAKEINTRESOURCEA(IDB_VOLUME0 + i), IMAGE_BITMAP, 0, 0,
                                      LR_LOADMAP3DCOLORS));
    SendMessageA(slider_, TBM_SETRANGE, TRUE, MAKELPARAM(0, kVolumeSliderMax));
    SendMessageA(slider_, TBM_SETPAGESIZE, 0, kVolumeSliderMax / 16);
    Show(kMaxVolume);
}

void VolumeControl::Show(unsigned level) {
    SendMessageA(picture_, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(pictures_[VolumePicture(level)].get()));
    SendMessageA(slider_, TBM_SETPOS, TRUE, static_cast<LPARAM>(SliderFromVolume(level)));
}

void VolumeControl::OnScroll(int code, int thumbPosition) {
    changedBySlider_ = true;
    const bool thumb = code == TB_THUMBPOSITION || code == TB_THUMBTRACK;
    const auto position =
        static_cast<unsigned>(thumb ? thumbPosition : SendMessageA(slider_, TBM_GETPOS, 0, 0));
    const unsigned level = VolumeFromSlider(position);
    tamblin::SetVolume(level, level);
    SendMessageA(picture_, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(pictures_[VolumePicture(level)].get()));
}

void VolumeControl::OpenMixer(HWAVEOUT device, HWND callbackWindow) {
    mixer_.reset();
    HMIXER mixer = nullptr;
    if (mixerOpen(&mixer, static_cast<UINT>(reinterpret_cast<UINT_PTR>(device)),
                  reinterpret_cast<DWORD_PTR>(callbackWindow), 0,
                  CALLBACK_WINDOW | MIXER_OBJECTF_HWAVEOUT) == MMSYSERR_NOERROR)
        mixer_.reset(mixer);
}

void VolumeControl::OnMixerChange() {
    if (changedBySlider_) {
        changedBySlider_ = false;
        return;
    }
    WORD left = 0;
    if (tamblin::GetVolume(&left, nullptr)) Show(left);
}

} // namespace quavera
