#include "playlist_editor.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "dropped_files.h"
#include "file_dialog.h"
#include "file_types.h"
#include "folder_files.h"
#include "id3v1_file.h"
#include "playlist_file.h"
#include "playlist_names.h"
#include "pls_file.h"
#include "progress_dialog.h"
#include "registry_values.h"
#include "resource.h"
#include "scoped_value.h"
#include "stream_file_props.h"
#include "stream_query.h"
#include "url_dialog.h"
#include "winbasic.h"

namespace quavera {
namespace {

constexpr const char* kTitle = "Quavera Playlist Editor";
constexpr const char* kTitleWithName = "Quavera Playlist Editor - ";
// The texts that New and Load give the title.
constexpr const char* kEmptiedTitle = "Quavera playlist editor";
constexpr const char* kLoadedTitle = "Quavera playlist editor - ";
constexpr const char* kQuestionCaption = "Playlist Editor";

// Loads the playlist the editor was opened with once the window shows.
constexpr UINT kLoadFirstPlaylist = WM_APP + 1;

constexpr ButtonPicture kPictures[] = {
    {IDC_EDITOR_NEW, IDB_NEW},       {IDC_EDITOR_LOAD, IDB_OPEN},
    {IDC_URL, IDB_URL},              {IDC_EDITOR_IMPORT, IDB_IMPORT},
    {IDC_EDITOR_SAVE, IDB_SAVE},     {IDC_EDITOR_PROPERTIES, IDB_TRACK_PROPERTIES},
    {IDC_EDITOR_DELETE, IDB_DELETE}, {IDC_EDITOR_TOP, IDB_TOP},
    {IDC_EDITOR_BOTTOM, IDB_BOTTOM}, {IDC_EDITOR_LAUNCH, IDB_LAUNCH},
};

constexpr ControlTip kTips[] = {
    {IDC_EDITOR_NEW, "Clears the current playlist."},
    {IDC_EDITOR_LOAD, "Load an existing playlist or add an audio file to the playlist."},
    {IDC_URL, "Open an audio- or playlist file via Internet."},
    {IDC_EDITOR_IMPORT, "Add an existing playlist."},
    {IDC_EDITOR_SAVE, "Save the current playlist."},
    {IDC_EDITOR_PROPERTIES, "Edit the current files' properties."},
    {IDC_EDITOR_DELETE, "Delete the selected playlist entry."},
    {IDC_EDITOR_TOP, "Move the current item to the top of the playlist."},
    {IDC_EDITOR_BOTTOM, "Move the current item to the end of the playlist."},
    {IDC_EDITOR_LAUNCH, "Launch your system explorer."},
    {IDC_EDITOR_LIST, "Use Drag and Drop to add new files or to change song order."},
    {IDC_EDITOR_FILE_TYPES, "Select the filetype which is accepted during Drag and Drop."},
    {IDC_EDITOR_SUBFOLDERS, "Enable/disable recursing subdirectories."},
    {IDC_EDITOR_EXTENSIONS, "Enable/disable display of file extensions."},
    {IDC_EDITOR_PATHS, "Enable/disable display of full path names."},
};

struct Anchoring {
    int id;
    unsigned anchors;
};

// OK and Cancel stay at the bottom right, the options at the bottom left, the
// file types at the bottom across the width; the list takes the rest.
constexpr Anchoring kAnchorings[] = {
    {IDOK, kMoveRight | kMoveDown},
    {IDCANCEL, kMoveRight | kMoveDown},
    {IDC_EDITOR_SUBFOLDERS, kMoveDown},
    {IDC_EDITOR_EXTENSIONS, kMoveDown},
    {IDC_EDITOR_PATHS, kMoveDown},
    {IDC_EDITOR_FILE_TYPES, kMoveDown | kStretchWide},
    {IDC_EDITOR_TYPES_GROUP, kMoveDown | kStretchWide},
    {IDC_EDITOR_LIST, kStretchWide | kStretchHigh},
    {IDC_EDITOR_PLAYLIST_GROUP, kStretchWide | kStretchHigh},
};

Box BoxOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

std::optional<std::string> TagTitle(const std::string& file) {
    const std::optional<Id3v1Tag> tag = ReadId3v1Tag(file);
    if (!tag) return std::nullopt;
    return tag->title;
}

// The initial name of the editor's Open dialogs: the playlist, or the one
// last loaded or saved.
std::string InitialName(const std::string& playlist) {
    return !playlist.empty() ? playlist : reg::ReadStringSetting(reg::kRecentPlaylistFile);
}

// Asks for a file to open; empty on Cancel.
std::string AskToOpen(HWND owner, const std::string& filter, const char* extension, const std::string& initial) {
    char name[MAX_PATH] = {};
    if (initial.size() < sizeof name) initial.copy(name, initial.size());
    const FileDialog dialog{owner, filter, extension, OFN_FILEMUSTEXIST, GetOpenFileNameA};
    return AskForFileName(dialog, name, sizeof name) ? std::string(name) : std::string();
}

} // namespace

PlaylistEditor::PlaylistEditor(HINSTANCE instance, HWND owner, std::string playlist, std::string* result)
    : instance_(instance), owner_(owner), playlist_(std::move(playlist)), result_(result),
      lastUrl_(reg::ReadStringSetting(reg::kRecentUrl)) {}

INT_PTR PlaylistEditor::Run() {
    // A loop of its own rather than the system's modal one, so that the
    // editor's keys reach it.
    if (!CreateModeless(instance_, IDD_PLAYLIST_EDITOR, owner_)) return -1;
    const HWND editor = window();
    EnableWindow(owner_, FALSE);
    ShowWindow(editor, SW_SHOW);
    MSG message{};
    while (!ended_ && window()) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: its own loop must see the quit too.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (TranslateAcceleratorA(editor, accelerators_, &message) || IsDialogMessageA(editor, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The owner is enabled first, so that it becomes the active window again.
    EnableWindow(owner_, TRUE);
    if (window()) DestroyWindow(window());
    return modalResult_;
}

void PlaylistEditor::Close(INT_PTR result) {
    modalResult_ = result;
    ended_ = true;
}

BOOL PlaylistEditor::OnInitDialog() {
    const HWND dialog = window();
    const auto icon = reinterpret_cast<LPARAM>(LoadIconA(instance_, MAKEINTRESOURCEA(IDI_PLAYLIST_EDITOR)));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, icon);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, icon);
    DragAcceptFiles(dialog, TRUE);
    readers_.setOwner(dialog);
    list_.Attach(item(IDC_EDITOR_LIST));
    dragMessage_ = RegisterWindowMessageA("commctrl_DragListMsg");

    const HWND types = item(IDC_EDITOR_FILE_TYPES);
    SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AudioFileTypeItem().c_str()));
    SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAllFileTypesItem));
    SendMessageA(types, CB_SETCURSEL, 0, 0);
    CheckDlgButton(dialog, IDC_EDITOR_SUBFOLDERS, BST_CHECKED);
    CheckDlgButton(dialog, IDC_EDITOR_EXTENSIONS, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_EDITOR_PATHS, BST_UNCHECKED);

    pictures_.Load(dialog, instance_, kPictures);
    AddToolTips(dialog, instance_, kTips);
    accelerators_ = LoadAcceleratorsA(instance_, MAKEINTRESOURCEA(IDR_EDITOR_ACCELERATORS));
    menus_.reset(LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_EDITOR_MENU)));
    RememberLayout();

    if (!playlist_.empty()) {
        SetWindowTextA(dialog, (kTitleWithName + playlist_).c_str());
        PostMessageA(dialog, kLoadFirstPlaylist, 0, 0);
    }
    return TRUE;
}

void PlaylistEditor::RememberLayout() {
    RECT rect{};
    GetWindowRect(window(), &rect);
    minimumSize_ = {rect.right - rect.left, rect.bottom - rect.top};
    GetClientRect(window(), &rect);
    initialClient_ = {rect.right, rect.bottom};
    for (const Anchoring& anchoring : kAnchorings) {
        const HWND control = item(anchoring.id);
        rect = ChildRect(control);
        // A drop-down list is as high as it is when it drops down.
        RECT dropped{};
        if (anchoring.id == IDC_EDITOR_FILE_TYPES &&
            SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
            rect.bottom = rect.top + (dropped.bottom - dropped.top);
        placed_.push_back({anchoring.id, anchoring.anchors, BoxOf(rect)});
    }
}

void PlaylistEditor::OnSize() {
    if (placed_.empty()) return;
    RECT client{};
    GetClientRect(window(), &client);
    const int dx = client.right - initialClient_.cx;
    const int dy = client.bottom - initialClient_.cy;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(placed_.size()));
    for (const Placed& placed : placed_) {
        const Box box = AnchoredBox(placed.box, placed.anchors, dx, dy);
        if (moves)
            moves = DeferWindowPos(moves, item(placed.id), nullptr, box.left, box.top, box.width(), box.height(),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves) EndDeferWindowPos(moves);
    // The group boxes leave their old frames behind otherwise.
    InvalidateRect(window(), nullptr, TRUE);
}

bool PlaylistEditor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == dragMessage_ && dragMessage_ != 0) {
        bool moved = false;
        const LRESULT answer = list_.OnDrag(*reinterpret_cast<const DRAGLISTINFO*>(lParam), moved);
        if (moved) changed_ = true;
        SetWindowLongPtrA(window(), DWLP_MSGRESULT, answer);
        return true;
    }
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return true;
    case WM_DRAWITEM:
        if (wParam != IDC_EDITOR_LIST) break;
        list_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return true;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return true;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return true;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) OnSize();
        return true;
    case WM_GETMINMAXINFO:
        if (minimumSize_.cx > 0)
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimumSize_.cx, minimumSize_.cy};
        return true;
    case WM_SIZING: {
        auto* sizing = reinterpret_cast<RECT*>(lParam);
        const bool left = wParam == WMSZ_LEFT || wParam == WMSZ_TOPLEFT || wParam == WMSZ_BOTTOMLEFT;
        const bool top = wParam == WMSZ_TOP || wParam == WMSZ_TOPLEFT || wParam == WMSZ_TOPRIGHT;
        const Box held = HoldMinimumSize(BoxOf(*sizing), left, top, minimumSize_.cx, minimumSize_.cy);
        *sizing = {held.left, held.top, held.right, held.bottom};
        return true;
    }
    case kLoadFirstPlaylist: LoadPlaylist(playlist_); return true;
    case WM_DESTROY: OnDestroy(); return true;
    default: break;
    }
    result = FALSE;
    return false;
}

void PlaylistEditor::OnCommand(int id, int code) {
    if (id == IDC_EDITOR_LIST) {
        OnListNotification(code);
        return;
    }
    // Commands that arrive while entries are being added (from a box's own
    // message loop) would change the list under the addition.
    if (busy_) return;
    const auto checked = [&] { return IsDlgButtonChecked(window(), id) == BST_CHECKED; };
    switch (id) {
    case IDC_EDITOR_NEW: New(); break;
    case IDC_EDITOR_LOAD: Load(); break;
    case IDC_URL: Url(); break;
    case IDC_EDITOR_IMPORT: Import(); break;
    case IDC_EDITOR_SAVE: Save(); break;
    case IDC_EDITOR_PROPERTIES: Properties(); break;
    case IDC_EDITOR_DELETE: Delete(); break;
    case IDC_EDITOR_TOP: Move(true); break;
    case IDC_EDITOR_BOTTOM: Move(false); break;
    case IDC_EDITOR_LAUNCH: Launch(); break;
    case IDC_EDITOR_SUBFOLDERS: subfolders_ = checked(); break;
    case IDC_EDITOR_EXTENSIONS:
    case IDC_EDITOR_PATHS:
        if (id == IDC_EDITOR_PATHS)
            list_.ShowPaths(checked());
        else
            list_.ShowExtensions(checked());
        FocusList(list_.Selected());
        break;
    case IDC_EDITOR_FILE_TYPES:
        if (code != CBN_SELCHANGE) break;
        if (SendMessageA(item(id), CB_GETCURSEL, 0, 0) == 0)
            filter_.AcceptAudio();
        else
            filter_.AcceptAll();
        break;
    case IDOK: Ok(); break;
    case IDCANCEL: Cancel(); break;
    default: break;
    }
}

void PlaylistEditor::OnListNotification(int code) {
    switch (code) {
    case LBN_SELCHANGE: changed_ = true; break;
    case LBN_DBLCLK:
        if (!busy_) Properties();
        break;
    case LBN_SETFOCUS: list_.SetFocused(true); break;
    case LBN_KILLFOCUS: list_.SetFocused(false); break;
    default: break;
    }
}

void PlaylistEditor::OnContextMenu(HWND control, POINT point) {
    const bool fromKeyboard = point.x == -1 && point.y == -1;
    int index = -1;
    if (control == list_.window()) {
        index = fromKeyboard ? list_.Selected() : list_.ItemAt(point);
        // The click chooses the entry, as a change of the selection by the user.
        if (index >= 0 && index != list_.Selected()) {
            list_.Select(index);
            changed_ = true;
        }
    }
    if (fromKeyboard) {
        RECT rect{};
        if (index >= 0) {
            SendMessageA(list_.window(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
            MapWindowPoints(list_.window(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
        } else {
            GetWindowRect(window(), &rect);
        }
        point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    const HMENU popup = GetSubMenu(menus_.get(), index >= 0 ? 0 : 1);
    if (!popup) return;
    if (index >= 0) {
        const UINT state = GetFocus() == list_.window() ? MF_ENABLED : MF_GRAYED;
        for (const int id : {IDC_EDITOR_TOP, IDC_EDITOR_BOTTOM, IDC_EDITOR_DELETE})
            EnableMenuItem(popup, static_cast<UINT>(id), MF_BYCOMMAND | state);
    }
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, window(), nullptr);
}

void PlaylistEditor::OnDropFiles(HDROP drop) {
    const std::vector<std::string> names = TakeDroppedFiles(drop);
    if (busy_) {
        pendingDrop_.insert(pendingDrop_.end(), names.begin(), names.end());
        return;
    }
    AddDropped(names);
    while (!pendingDrop_.empty() && window()) AddDropped(std::exchange(pendingDrop_, {}));
}

void PlaylistEditor::AddDropped(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        // A folder is a folder, whatever its name holds.
        const DWORD attributes = GetFileAttributesA(name.c_str());
        const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (folder || PlaylistFormatOf(name) == PlaylistFormat::None) {
            paths.push_back(name);
            continue;
        }
        AddPaths(std::exchange(paths, {}));
        playlist_ = name;
        LoadPlaylist(name);
        changed_ = true;
    }
    AddPaths(paths);
}

void PlaylistEditor::AddPaths(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    unsigned skipped = 0;
    {
        const ScopedValue busy(busy_, true);
        ProgressDialog progress(instance_, window(), "Adding files", 0);
        const ScopedValue shown(progress_, &progress);
        FolderFiles found(subfolders_, [&](const std::string& folder) { return progress.Step(folder); });
        for (const std::string& path : paths)
            if (!found.Add(path)) return;
        skipped = found.skipped();
        const std::vector<std::string>& files = found.files();
        progress.SetRange(static_cast<int>(files.size()));
        const PlaylistListBox::Adding adding(list_, static_cast<int>(files.size()));
        for (const std::string& file : files) {
            if (!progress.Step(file)) break;
            if (filter_.Accepts(file)) AddEntry(file);
        }
    }
    if (skipped > 0)
        ShowWarning(window(), kQuestionCaption,
                    "%u of the dropped files and folders could not be added: they cannot be read, they lead back "
                    "into a folder already added, or their names are longer than %u characters.",
                    skipped, static_cast<unsigned>(kMaxNameLength));
}

void PlaylistEditor::LoadPlaylist(const std::string& name) {
    const std::string path = FullPathName(name);
    std::unique_ptr<EntrySource> entries = OpenPlaylistFile(path);
    // Any other name is read as a ".pls".
    if (!entries) entries = std::make_unique<PlsPlaylist>(path);
    const bool m3u = PlaylistFormatOf(path) == PlaylistFormat::M3u;
    const int count = entries->count();
    const ScopedValue busy(busy_, true);
    ProgressDialog progress(instance_, window(), "Loading playlist", count);
    const ScopedValue shown(progress_, &progress);
    const PlaylistListBox::Adding adding(list_, count);
    for (int n = 1; n <= count; ++n) {
        std::string entry = entries->Entry(n).text;
        if (!progress.Step(entry)) break;
        if (entry.empty()) continue;
        const bool scanned = ScanEntry(entry);
        list_.Append(entry);
        if (m3u) changed_ = true;
        if (!scanned && ShowMessage(window(), "Do you want to cancel the actual import process?", "Abort import",
                                    MB_YESNO | MB_ICONQUESTION) == IDYES)
            break;
    }
}

bool PlaylistEditor::ScanEntry(std::string& entry) {
    // A single entry shows its own window; the entries of a longer addition
    // show in the addition's.
    std::optional<ProgressDialog> own;
    if (!progress_) {
        own.emplace(instance_, window(), "Scanning file", 100);
        own->Step(entry);
    }
    ScanSources sources;
    sources.title = TagTitle;
    sources.lengthMs = [this](const std::string& name) -> std::optional<int> {
        const std::optional<StreamFacts> facts = QueryStream(window(), readers_.For(name), name);
        if (!facts) return std::nullopt;
        return facts->lengthMs;
    };
    sources.skipHttpScan = reg::ReadSetting(reg::kSkipHttpFileScan, 0) != 0;
    return ScanEntryFields(entry, sources);
}

void PlaylistEditor::AddEntry(std::string entry) {
    ScanEntry(entry);
    list_.Append(entry);
    changed_ = true;
}

bool PlaylistEditor::AskToSave() {
    return ShowMessage(window(), "Current settings are not saved!. Save them now?", kQuestionCaption,
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool PlaylistEditor::SaveChangesFirst() {
    if (!changed_) return true;
    if (AskToSave() && !Save()) return false;
    changed_ = false;
    return true;
}

void PlaylistEditor::New() {
    if (result_) result_->clear();
    if (!SaveChangesFirst()) return;
    list_.Clear();
    playlist_.clear();
    SetWindowTextA(window(), kEmptiedTitle);
}

void PlaylistEditor::Load() {
    const std::string name = AskToOpen(window(), OpenFilterText(), "mp2", InitialName(playlist_));
    if (name.empty()) return;
    if (PlaylistFormatOf(name) == PlaylistFormat::None) {
        AddEntry(name);
        return;
    }
    if (!SaveChangesFirst()) return;
    list_.Clear();
    playlist_ = name;
    SetWindowTextA(window(), (kLoadedTitle + name).c_str());
    LoadPlaylist(name);
    WriteRegString(reg::kConfigurationKey, reg::kRecentPlaylistFile, name.c_str());
}

void PlaylistEditor::Import() {
    const std::string name = AskToOpen(window(), PlaylistFilterText(), "pls", InitialName(playlist_));
    if (name.empty()) return;
    playlist_ = name;
    LoadPlaylist(name);
    changed_ = true;
}

void PlaylistEditor::Url() {
    const std::optional<std::string> address = AskForUrl(instance_, window(), lastUrl_);
    if (!address || address->empty()) return;
    AddEntry(*address);
    lastUrl_ = *address;
    WriteRegString(reg::kConfigurationKey, reg::kRecentUrl, address->c_str());
}

bool PlaylistEditor::Save() {
    char name[MAX_PATH] = {};
    if (playlist_.size() < sizeof name) playlist_.copy(name, playlist_.size());
    std::string title;
    const FileDialog dialog{window(), PlaylistFilterText(), "pls", OFN_OVERWRITEPROMPT, GetSaveFileNameA};
    if (!AskForFileName(dialog, name, sizeof name, nullptr, &title)) return false;
    if (!SavePlaylist(name, list_.Entries())) {
        ShowError(window(), "Cannot write the playlist %s", name);
        return false;
    }
    playlist_ = name;
    if (result_) *result_ = playlist_;
    SetWindowTextA(window(), (kTitleWithName + title).c_str());
    WriteRegString(reg::kConfigurationKey, reg::kRecentPlaylistFile, name);
    changed_ = false;
    return true;
}

void PlaylistEditor::FocusList(int index) {
    SendMessageA(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_.window()), TRUE);
    list_.Select(index);
}

void PlaylistEditor::Delete() {
    const int index = list_.Selected();
    if (index < 0) return;
    list_.Remove(index);
    changed_ = true;
    const int left = list_.count();
    FocusList(std::min(index, left - 1));
    // An emptied list has nothing left to save.
    if (left == 0) changed_ = false;
}

void PlaylistEditor::Move(bool toTop) {
    const int index = list_.Selected();
    if (index < 0) return;
    const std::string entry = list_.Entry(index);
    list_.Remove(index);
    if (toTop)
        list_.Insert(0, entry);
    else
        list_.Append(entry);
    // The selection stays where it was, on the entry that came to that place.
    FocusList(index);
    changed_ = true;
}

void PlaylistEditor::Properties() {
    const int index = list_.Selected();
    if (index < 0) return;
    // The sheet reads the text for as long as it runs.
    const std::string entry = list_.Entry(index);
    CStreamFileProps sheet(window(), entry);
    if (!sheet.Run(instance_)) return;
    list_.Remove(index);
    list_.Insert(index, entry);
    FocusList(index);
    changed_ = true;
}

void PlaylistEditor::Launch() {
    const DWORD version = GetVersion();
    const bool explorer = LOBYTE(LOWORD(version)) > 3;
    if (WinExec(explorer ? "Explorer.exe" : "Winfile.exe", SW_SHOWDEFAULT) > 31) return;
    ShowMessage(window(),
                explorer ? "Unable to launch Your systems' explorer!" : "Unable to launch your systems' file manager!",
                "Application launcher", MB_OK | MB_ICONWARNING);
}

void PlaylistEditor::Ok() {
    if (changed_) {
        if (AskToSave()) {
            if (!Save()) return;
        } else {
            const std::string list = TemporaryListName();
            if (!SavePlaylist(list, list_.Entries())) {
                ShowError(window(), "Cannot write the playlist %s", list.c_str());
                return;
            }
            playlist_ = list;
        }
    }
    changed_ = false;
    if (result_) *result_ = playlist_;
    Close(IDOK);
}

void PlaylistEditor::Cancel() {
    if (result_) result_->clear();
    if (!SaveChangesFirst()) return;
    Close(IDCANCEL);
}

void PlaylistEditor::OnDestroy() {
    // Closed some other way than OK or Cancel, with the owner perhaps.
    if (changed_ && AskToSave()) Save();
    changed_ = false;
}

} // namespace quavera
