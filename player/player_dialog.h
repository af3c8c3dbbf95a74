#pragma once
// The main player window: start-up and exit of the program, the transport
// commands, the displays of the current track and the engine's notifications.
// The queue's commands and displays are in player_queue.cpp.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "button_pictures.h"
#include "caption_scroller.h"
#include "dialog.h"
#include "dialog_size.h"
#include "display_text.h"
#include "entry_source.h"
#include "instance_marker.h"
#include "playback_queue.h"
#include "position_slider.h"
#include "queue_section.h"
#include "stream_readers.h"
#include "taskbar_icons.h"
#include "volume_control.h"
#include "win_handles.h"

namespace quavera {

class PlayerApp;
struct StreamStatus;

class PlayerDialog final : public Dialog {
public:
    PlayerDialog(const PlayerApp& app, std::string commandLine);
    // Creates the dialog and runs the start-up. False when the start-up ended
    // the program (command line handed over, second copy declined, older version).
    bool Start();
    HACCEL accelerators() const { return accelerators_; }

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    // Start-up after the controls exist, and exit.
    bool RunStartup();
    bool CheckVersion();
    void RestoreWindowPosition();
    void ProcessCommandLine(const char* text);
    void OnDestroy();

    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnPositionScroll(int code);
    void OnDropFiles(HDROP drop);
    // Opens the context menu; with TPM_RETURNCMD returns the command chosen.
    UINT OnContextMenu(int x, int y, UINT flags = 0);
    void OnTrackListMenu(int x, int y);

    // Commands. fromUser: the command came from its own button, the keyboard
    // or the minimised window, not from a menu or the program itself.
    void Play();
    void Pause(bool fromUser);
    void Stop(bool fromUser);
    void Step(int direction);
    void SetTimeMode(TimeMode mode);
    void OpenCommand();
    void OpenFiles(const std::vector<std::string>& files);
    void UrlCommand();
    void NextCommand();
    void PreviousCommand();
    void PlayChosenTrack();
    void SetRandom(bool on);
    void SetEndless(bool on);
    void ShowModes();
    void SetTotalMode(bool remaining);
    void OnHandover();
    void RestartAtPosition();
    void OpenSettings();
    // The playlist editor, on the playing playlist; the list it confirms plays.
    void EditPlaylist();
    // A double click in the song area shows the current track's properties,
    // elsewhere it changes the dialog's size.
    void OnDoubleClick(POINT point);
    bool InSongArea(POINT point) const;
    void ShowTrackProperties(std::string entry);
    // The properties of the track list's selected line.
    void ShowChosenTrackProperties();

    // Sizes, the notification area and the minimised window (player_sizes.cpp).
    // size: a DialogSize, kHideDialog or kShowDialogAgain.
    void SetDialogSize(int size);
    void ArrangeDialog();
    // The stored size at start; a hidden dialog is not restored.
    void RestoreDialogSize();
    void ShowQueueSection(bool wanted);
    void ShowTaskbarControls(bool shown);
    void OnTrayNotify(UINT icon, UINT mouseMessage);
    // Checks and ticks of the context menu, in the popup about to open.
    void RefreshMenuStates(HMENU popup) const;
    void OnMinimised();
    void OnRestored();
    // A command from the menu the minimised window shows in its system menu.
    bool OnSystemCommand(WPARAM command);
    // The 333 ms tick: the scroller.
    void OnTick();
    // The title of the minimised window after its caption changed.
    void RefreshScroller();
    // The caption and the track time, as the minimised window's title.
    std::string MinimisedTitle() const { return captionText_ + " " + timeText_; }
    bool TitleFits(const std::string& title) const;

    // Engine notifications.
    void OnStreamStarted(const StreamStatus& status);
    void OnPosition(const StreamStatus& status);
    void OnStreamEnd();

    // The queue.
    bool OpenPlaylist(const std::string& name);
    void InitQueue(std::unique_ptr<EntrySource> entries);
    void FreeQueue();
    int NextTrack();
    int PreviousTrack();
    // Counters, list selection and list drawing after the current track changed.
    void ShowCurrentTrack();
    bool LoadQueueEntry(int k);
    void PlayFirstTrack();
    void RewindQueue();
    void UpdateCounters();
    void ShowTotalTime(unsigned positionMs);
    // The limit the entry of track k sets on its playback, 0 for none.
    unsigned TrackLimit(int k);
    // The name of the current track as the displays show it.
    std::string TrackName(const StreamStatus& status) const;

    // allowSaving: an HTTP address may be saved while it plays (single
    // tracks opened by the URL command only).
    bool OpenTrack(const std::string& entry, bool allowSaving = false);
    bool OpenSingleTrack(const std::string& fileName, bool allowSaving = false);
    void AskForSaveFile();
    void ApplyOpenVolume(const StreamStatus& status);
    void ApplyVolumePreset(unsigned preset);
    void UndoVolumePreset();
    void SeekFromSlider();
    void PrepareDisplays(const StreamStatus& status);
    void ShowParameters(const StreamStatus& status);
    // The stopped state without a track, as at start-up without a file.
    void ShowNoTrack();
    void ShowTimeMode();
    void ShowTrackTime(unsigned positionMs);
    void ShowCaption(PlayState state);
    void FocusOpenButton();
    unsigned EnginePositionMs() const;

    const PlayerApp& app_;
    std::string commandLine_;
    InstanceMarker marker_;
    ButtonPictures pictures_;
    VolumeControl volume_;
    PositionSlider slider_;
    StreamReaders readers_;
    // The queue's own readers, for its scan and for downloading playlists.
    StreamReaders queueReaders_;
    GdiObject timeFont_;
    Menu contextMenu_;
    Menu trackMenu_;
    HACCEL accelerators_ = nullptr; // freed with the module

    bool startupEnded_ = false;
    std::string currentFile_;
    // The entry text the current track was opened from.
    std::string currentEntry_;
    std::string captionText_;
    bool streamLoaded_ = false;
    unsigned trackLengthMs_ = 0;
    unsigned durationLimitMs_ = 0;
    bool positionUpdates_ = true;
    bool seeking_ = false;
    TimeMode timeMode_ = TimeMode::Elapsed;
    unsigned volumePreset_ = 100;
    bool volumeRestorePending_ = false;
    unsigned restoredVolume_ = 0;
    bool closeWhenDone_ = false;
    // Set while a property sheet runs, which the main dialog owns.
    bool sheetOpen_ = false;
    // Sizes, the notification area and the minimised window.
    DialogLayout layout_;
    int dialogSize_ = kLargeDialog;
    bool hidden_ = false;
    bool minimised_ = false;
    TaskbarIcons tray_;
    bool scrollerEnabled_ = true;
    CaptionScroller scroller_;
    // The track time as last shown, which the minimised window's title carries.
    std::string timeText_;

    PlaybackQueue queue_;
    std::unique_ptr<EntrySource> entries_;
    // The playlist file the queue plays, or empty (a drop, no queue).
    std::string playlistFile_;
    QueueSection section_;
    int lastShownTrack_ = 1;
    std::int64_t playedBeforeMs_ = 0;
    bool totalRemaining_ = false;
    // The Next command runs because a stream ended.
    bool fromStreamEnd_ = false;
    // The tracks playing as one stream, and how far the displays followed.
    std::vector<int> run_;
    std::size_t runFollowed_ = 0;
};

} // namespace quavera
