#pragma once
// The playlist editor, "Quavera Playlist Editor": a modal, resizable dialog
// in which the user builds a playlist from dropped files and folders and from
// loaded, imported and addressed ones, reorders, deletes and inspects its
// entries and saves it as a ".pls". Every entry is scanned as it is added, so
// that a saved list carries titles and lengths. Its result is the name of the
// playlist to play.
#include <windows.h>

#include <string>
#include <vector>

#include "button_pictures.h"
#include "dialog.h"
#include "editor_layout.h"
#include "editor_rules.h"
#include "playlist_list_box.h"
#include "stream_readers.h"
#include "win_handles.h"

namespace quavera {

class ProgressDialog;

class PlaylistEditor final : public Dialog {
public:
    // playlist: the playlist file to edit, or empty. result, when given,
    // receives the playlist to play after OK, and is emptied by Cancel and
    // New.
    PlaylistEditor(HINSTANCE instance, HWND owner, std::string playlist, std::string* result);

    // Runs the editor until OK or Cancel, with the owner disabled: IDOK or
    // IDCANCEL, or -1 when the window could not be made.
    INT_PTR Run();

private:
    struct Placed {
        int id;
        unsigned anchors;
        Box box;
    };

    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnCommand(int id, int code);
    void OnListNotification(int code);
    void OnContextMenu(HWND control, POINT point);
    void OnDropFiles(HDROP drop);
    void RememberLayout();
    void OnSize();
    void OnDestroy();

    // Commands.
    void New();
    void Load();
    void Import();
    void Url();
    bool Save();
    void Delete();
    void Move(bool toTop);
    void Properties();
    void Launch();
    void Ok();
    void Cancel();
    void Close(INT_PTR result);

    // Asks whether the unsaved changes are to be saved; true for Yes.
    bool AskToSave();
    // The question when there are unsaved changes, and the save on Yes. False
    // when the user asked for a save that did not happen: what he was doing
    // then stops, and the changes stay.
    bool SaveChangesFirst();
    // The dropped names in order: playlists are loaded, files and folders added.
    void AddDropped(const std::vector<std::string>& names);
    // Appends the playlist's entries, each scanned.
    void LoadPlaylist(const std::string& name);
    // Adds files and the files of folders, under one progress window.
    void AddPaths(const std::vector<std::string>& paths);
    // Fills the entry's alias and duration where they are empty; false when
    // the duration could not be had.
    bool ScanEntry(std::string& entry);
    // Appends one entry, scanned, as a change of the playlist.
    void AddEntry(std::string entry);
    // The list takes the focus with the entry at index selected.
    void FocusList(int index);

    HINSTANCE instance_;
    HWND owner_;
    std::string playlist_;
    std::string* result_;
    std::string lastUrl_;
    FileFilter filter_;
    bool subfolders_ = true;
    bool changed_ = false;
    HACCEL accelerators_ = nullptr; // freed with the module
    Menu menus_;
    ButtonPictures pictures_;
    PlaylistListBox list_;
    // The editor's own readers, apart from the ones playback reads through.
    StreamReaders readers_;
    UINT dragMessage_ = 0;

    // While entries are added, commands wait, and further drops are kept
    // until the addition is done; the scans show their entries in the
    // addition's progress window.
    bool busy_ = false;
    std::vector<std::string> pendingDrop_;
    ProgressDialog* progress_ = nullptr;

    SIZE minimumSize_{};
    SIZE initialClient_{};
    std::vector<Placed> placed_;

    bool ended_ = false;
    INT_PTR modalResult_ = IDCANCEL;
};

} // namespace quavera
