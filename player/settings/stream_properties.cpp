#include "stream_properties.h"

#include <commctrl.h>

#include <iterator>

#include "entry_text.h"
#include "resource.h"
#include "track_query.h"
#include "track_texts.h"

namespace quavera {

CStreamProperties::CStreamProperties(const std::string& entry, StreamReaders& readers)
    : PropertyPage(IDD_STREAM_PROPERTIES), entry_(entry), readers_(readers) {}

BOOL CStreamProperties::OnInitDialog() {
    const HWND volume = GetDlgItem(window(), IDC_VOLUME_PRESET_SPIN);
    const HWND duration = GetDlgItem(window(), IDC_PLAYBACK_DURATION_SPIN);
    SendMessageA(volume, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(window(), IDC_VOLUME_PRESET)), 0);
    SendMessageA(volume, UDM_SETRANGE32, 1, 100);
    SendMessageA(duration, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(window(), IDC_PLAYBACK_DURATION)), 0);
    UDACCEL steps[] = {{1, 1}, {4, 2}, {7, 5}};
    for (const HWND spin : {volume, duration}) {
        SendMessageA(spin, UDM_SETACCEL, std::size(steps), reinterpret_cast<LPARAM>(steps));
        EnableWindow(spin, FALSE);
    }
    Fill();
    return TRUE;
}

void CStreamProperties::Fill() {
    SetDlgItemTextA(window(), IDC_PROPERTIES_FILE_NAME, EntryFileName(entry_).c_str());
    SetDlgItemTextA(window(), IDC_VOLUME_PRESET, VolumePresetText(entry_).c_str());
    const DurationView durations = DescribeDurations(FileDurationMs(QueryTrack(window(), entry_, readers_)),
                                                     EntryNumber(entry_, kEntryDuration));
    SetDlgItemTextA(window(), IDC_FILE_DURATION, durations.fileText.c_str());
    SetDlgItemTextA(window(), IDC_PLAYBACK_DURATION, durations.playbackText.c_str());
    EnableWindow(GetDlgItem(window(), IDC_PLAYBACK_DURATION), durations.known);
    const HWND spin = GetDlgItem(window(), IDC_PLAYBACK_DURATION_SPIN);
    SendMessageA(spin, UDM_SETRANGE32, static_cast<WPARAM>(durations.lowerSeconds), durations.upperSeconds);
    SendMessageA(spin, UDM_SETPOS32, 0, durations.positionSeconds);
}

void CStreamProperties::OnCommand(int id, int code) {
    if (code == EN_CHANGE && (id == IDC_VOLUME_PRESET || id == IDC_PLAYBACK_DURATION)) MarkModified();
}

} // namespace quavera
