#include "player_dialog.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "association_check.h"
#include "command_line.h"
#include "dropped_files.h"
#include "entry_text.h"
#include "file_dialog.h"
#include "file_types.h"
#include "playlist_file.h"
#include "playlist_names.h"
#include "pls_file.h"
#include "player_app.h"
#include "player_commands.h"
#include "property_playback.h"
#include "registry_values.h"
#include "resource.h"
#include "scoped_value.h"
#include "slider_scale.h"
#include "stream_file_props.h"
#include "tamblin1.h"
#include "url_dialog.h"
#include "volume_level.h"
#include "winbasic.h"
#include "window_placement.h"

namespace quavera {
namespace {

// Names of a selection of many files in the Open dialog.
constexpr std::size_t kOpenNamesSize = 1 << 16;
constexpr UINT_PTR kTickTimer = 0;
constexpr UINT kTickTimerMs = 333;
constexpr DWORD kPositionTickMs = 1000;
constexpr const char* kNoTrackText = "Press OPEN to choose a song or use Drag and Drop.";

const StreamStatus& EngineStatus() { return *tamblin::GetPlaybackStatus(); }

unsigned TrackLengthMs(const StreamStatus& status) {
    return status.totalTime > 0 ? static_cast<unsigned>(status.totalTime) : 0;
}

// The Open and Save As dialogs: the player's filter, ".mp2" by default, the
// recent file as the initial name. The chosen name goes to names (size
// bytes); fileOffset, when given, receives where the name part starts.
bool AskForPlayerFile(HWND owner, char* names, DWORD size, DWORD flags, BOOL(WINAPI* ask)(OPENFILENAMEA*),
                      WORD* fileOffset = nullptr) {
    ReadRegString(reg::kConfigurationKey, reg::kRecentFile, names);
    return AskForFileName({owner, OpenFilterText(), "mp2", flags, ask}, names, size, fileOffset);
}

} // namespace

PlayerDialog::PlayerDialog(const PlayerApp& app, std::string commandLine)
    : app_(app), commandLine_(std::move(commandLine)), queue_(GetTickCount() ^ GetCurrentProcessId()) {}

bool PlayerDialog::Start() {
    if (!CreateModeless(app_.instance(), IDD_PLAYER_LARGE)) return false;
    if (!RunStartup()) {
        startupEnded_ = true;
        DestroyWindow(window());
        return false;
    }
    ShowWindow(window(), SW_SHOW);
    FocusOpenButton();
    return true;
}

BOOL PlayerDialog::OnInitDialog() {
    const HWND dialog = window();
    const auto icon = reinterpret_cast<LPARAM>(LoadIconA(app_.instance(), MAKEINTRESOURCEA(IDI_QUAVERA)));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, icon);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, icon);
    pictures_.Attach(dialog, app_.instance());
    volume_.Attach(dialog, app_.instance());
    slider_.Attach(dialog);
    readers_.setOwner(dialog);
    queueReaders_.setOwner(dialog);

    // The track time is the dialog's largest text.
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfHeight = font.lfHeight * 2;
    font.lfWeight = FW_BOLD;
    timeFont_.reset(CreateFontIndirectA(&font));
    SendDlgItemMessageA(dialog, IDC_TRACK_TIME, WM_SETFONT, reinterpret_cast<WPARAM>(timeFont_.get()), FALSE);

    DragAcceptFiles(dialog, TRUE);
    accelerators_ = LoadAcceleratorsA(app_.instance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    contextMenu_.reset(LoadMenuA(app_.instance(), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
    trackMenu_.reset(LoadMenuA(app_.instance(), MAKEINTRESOURCEA(IDR_TRACK_MENU)));

    tray_.Attach(dialog, app_.instance());
    layout_.Attach(dialog, app_.instance());
    section_.Attach(dialog, layout_.narrowWidth());
    layout_.Fit(kLargeDialog, false);
    section_.ShowTotalMode(totalRemaining_);
    ShowTimeMode();
    ShowNoTrack();
    SetTimer(dialog, kTickTimer, kTickTimerMs, nullptr);
    return FALSE;
}

bool PlayerDialog::RunStartup() {
    switch (marker_.Check(window(), commandLine_.c_str())) {
    case InstanceCheck::HandedOver:
    case InstanceCheck::Declined: return false;
    case InstanceCheck::Owner:
    case InstanceCheck::Guest: break;
    }
    if (!CheckVersion()) return false;
    AssociationCheckDialog(app_.modulePath()).Run(app_.instance(), window());
    tamblin::SetRegistryLocation(reg::kConfigurationKey);
    RestoreWindowPosition();

    char recent[reg::kStringSize] = {};
    if (ReadRegString(reg::kConfigurationKey, reg::kRecentFile, recent))
        currentFile_ = recent;
    else
        WriteRegString(reg::kConfigurationKey, reg::kRecentFile, "");

    timeMode_ = reg::ReadSetting(reg::kTimeDisplay, 0) != 0 ? TimeMode::Remaining : TimeMode::Elapsed;
    ShowTimeMode();
    totalRemaining_ = reg::ReadSetting(reg::kTotalTimeDisplay, 0) != 0;
    section_.ShowTotalMode(totalRemaining_);

    DWORD volume = 0;
    if (ReadRegInt(reg::kConfigurationKey, reg::kVolume, &volume)) {
        volumeRestorePending_ = true;
        restoredVolume_ = std::min<DWORD>(volume, kMaxVolume);
        volume_.Show(restoredVolume_);
    }

    if (!commandLine_.empty()) {
        ProcessCommandLine(commandLine_.c_str());
    } else {
        if (reg::ReadSetting(reg::kRandomPlayback, 0) != 0) SetRandom(true);
        if (reg::ReadSetting(reg::kEndlessPlayback, 0) != 0) SetEndless(true);
    }

    RestoreDialogSize();
    scrollerEnabled_ = reg::ReadSetting(reg::kScrollCaption, 1) != 0;
    tray_.ShowProgramIcon(captionText_);
    ShowTaskbarControls(reg::ReadSetting(reg::kTaskBar, 1) != 0);
    return true;
}

bool PlayerDialog::CheckVersion() {
    const std::string& program = app_.version().text;
    char stored[reg::kStringSize] = {};
    ReadRegString(reg::kPlaybackKey, reg::kVersion, stored);
    const int order = CompareVersionText(stored, program.c_str());
    if (order < 0) {
        WriteRegString(reg::kPlaybackKey, reg::kVersion, program.c_str());
        WriteRegInt(reg::kConfigurationKey, reg::kCheckExtentions, 1);
        WriteRegInt(reg::kConfigurationKey, reg::kBuffers, 14);
        WriteRegInt(reg::kConfigurationKey, reg::kFramesPerBuffer, 2);
        WriteRegInt(reg::kConfigurationKey, reg::kPlaybackMethode, 1);
    } else if (order > 0) {
        ShowMessage(window(),
                    "You are trying to run an older version of Quavera\nthan the one which was installed!\n\n"
                    "Please download the newest version of Quavera and\nreinstall it.",
                    "Quavera version check", MB_OK | MB_ICONWARNING);
        return false;
    }
    // The first run starts with the settings, after the defaults above, so
    // that the choices made in them stand.
    if (stored[0] == '\0') OpenSettings();
    return true;
}

void PlayerDialog::RestoreWindowPosition() {
    int x = 0;
    int y = 0;
    if (!ReadRegInt(reg::kConfigurationKey, reg::kWindowX, &x) ||
        !ReadRegInt(reg::kConfigurationKey, reg::kWindowY, &y))
        return;
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    RECT own{};
    GetWindowRect(window(), &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    if (PositionFitsDesktop({desktop.left, desktop.top, desktop.right, desktop.bottom}, x, y, width, height))
        MoveWindow(window(), x, y, width, height, TRUE);
}

void PlayerDialog::ProcessCommandLine(const char* text) {
    const CommandLine options = ParseCommandLine(text);
    if (options.closeWhenDone) closeWhenDone_ = true;
    if (options.endless) SetEndless(true);
    if (options.random) SetRandom(true);
    if (options.fileName.empty()) return;
    FreeQueue();
    if (OpenPlaylist(options.fileName)) {
        if (!LoadQueueEntry(NextTrack())) NextCommand();
    } else {
        OpenSingleTrack(options.fileName);
    }
    if (options.play)
        Play();
    else
        tamblin::StopPlayback(1);
}

void PlayerDialog::OnDestroy() {
    if (startupEnded_) {
        marker_.Release();
        PostQuitMessage(0);
        return;
    }
    tray_.RemoveAll();
    KillTimer(window(), kTickTimer);
    slider_.DestroyTickLabels();
    volume_.CloseMixer();

    // The device is closed by the stop, so its volume is read first.
    WORD left = 0;
    const unsigned level = tamblin::GetVolume(&left, nullptr) ? left : EngineStatus().volumeLeft;
    tamblin::StopPlayback(1);
    tamblin::CloseStream();
    if (streamLoaded_) WriteRegInt(reg::kConfigurationKey, reg::kVolume, BaseVolume(level, volumePreset_));

    marker_.Release();

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT rect{};
    GetWindowRect(window(), &rect);
    if (IsIconic(window()) && GetWindowPlacement(window(), &placement)) rect = placement.rcNormalPosition;
    WriteRegInt(reg::kConfigurationKey, reg::kWindowX, static_cast<DWORD>(rect.left));
    WriteRegInt(reg::kConfigurationKey, reg::kWindowY, static_cast<DWORD>(rect.top));
    PostQuitMessage(0);
}

bool PlayerDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_COMMAND: OnCommand(wParam, lParam); return true;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == item(IDC_POSITION))
            OnPositionScroll(LOWORD(wParam));
        else if (reinterpret_cast<HWND>(lParam) == item(IDC_VOLUME))
            volume_.OnScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return true;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return true;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == item(IDC_TRACK_LIST))
            OnTrackListMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        else
            OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return true;
    case WM_DRAWITEM:
        if (wParam != IDC_TRACK_LIST) break;
        section_.list().Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam),
                             [this](int k) { return k <= queue_.count() && queue_.played(k); });
        return true;
    case WM_LBUTTONDBLCLK: OnDoubleClick({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return true;
    // The system still sets up its own items of the system menu.
    case WM_INITMENUPOPUP: RefreshMenuStates(reinterpret_cast<HMENU>(wParam)); break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED && !minimised_)
            OnMinimised();
        else if (wParam == SIZE_RESTORED && minimised_)
            OnRestored();
        return true;
    case WM_SYSCOMMAND: return OnSystemCommand(wParam);
    case WM_TIMER:
        if (wParam == kTickTimer) OnTick();
        return true;
    case kTrayNotify: OnTrayNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam)); return true;
    case kTrayUpdate: tray_.Update(); return true;
    case MM_MIXM_LINE_CHANGE:
    case MM_MIXM_CONTROL_CHANGE: volume_.OnMixerChange(); return true;
    case WM_CLOSE: DestroyWindow(window()); return true;
    case WM_DESTROY: OnDestroy(); return true;
    default: break;
    }
    if (message == TaskbarIcons::TaskbarCreatedMessage()) {
        tray_.ShowAgain();
        return true;
    }
    result = FALSE;
    return false;
}

void PlayerDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Engine notifications and private commands use the whole parameter.
    const auto* status = reinterpret_cast<const StreamStatus*>(lParam);
    switch (wParam) {
    case CMD_STREAM_STARTED: if (status) OnStreamStarted(*status); return;
    // The record's position is brought up to date only when it is asked for,
    // and the notice may have waited in the queue: ask now.
    case CMD_POSITION: OnPosition(EngineStatus()); return;
    case CMD_STREAM_END: OnStreamEnd(); return;
    case CMD_HANDOVER: OnHandover(); return;
    case CMD_RESTART_AT_POSITION: RestartAtPosition(); return;
    case CMD_TASKBAR_SHOW:
    case CMD_TASKBAR_HIDE: ShowTaskbarControls(wParam == CMD_TASKBAR_SHOW); return;
    case CMD_SCROLLER_ON:
    case CMD_SCROLLER_OFF:
        scrollerEnabled_ = wParam == CMD_SCROLLER_ON;
        RefreshScroller();
        return;
    case CMD_SET_DIALOG_SIZE: SetDialogSize(static_cast<int>(static_cast<ULONG_PTR>(lParam) % 4)); return;
    default: break;
    }
    const WORD id = LOWORD(wParam);
    const bool keyboard = HIWORD(wParam) == kAcceleratorCode;
    const auto fromOwnButton = [&](int button) {
        return keyboard || GetFocus() == item(button) || IsIconic(window());
    };
    switch (id) {
    case IDC_PLAY: Play(); break;
    case IDC_PAUSE: Pause(fromOwnButton(IDC_PAUSE)); break;
    case IDC_STOP: Stop(keyboard || GetFocus() == item(IDC_STOP)); break;
    case IDC_FORWARD: Step(+1); break;
    case IDC_REWIND: Step(-1); break;
    case IDC_ELAPSED_MODE: SetTimeMode(TimeMode::Elapsed); break;
    case IDC_REMAINING_MODE: SetTimeMode(TimeMode::Remaining); break;
    case IDC_OPEN: OpenCommand(); break;
    case IDC_URL: UrlCommand(); break;
    case IDC_NEXT: NextCommand(); break;
    case IDC_PROPERTIES: OpenSettings(); break;
    case IDC_PLAYLIST: EditPlaylist(); break;
    case IDC_PREVIOUS: PreviousCommand(); break;
    // A mode changes only at the user's own request; otherwise its button
    // only shows it again.
    case IDC_RANDOM:
        if (fromOwnButton(IDC_RANDOM))
            SetRandom(!queue_.random());
        else
            ShowModes();
        FocusOpenButton();
        break;
    case IDC_ENDLESS:
        if (fromOwnButton(IDC_ENDLESS))
            SetEndless(!queue_.endless());
        else
            ShowModes();
        FocusOpenButton();
        break;
    case IDC_TOTAL_ELAPSED_MODE: SetTotalMode(false); break;
    case IDC_TOTAL_REMAINING_MODE: SetTotalMode(true); break;
    case IDC_TRACK_LIST:
        if (HIWORD(wParam) == LBN_DBLCLK) PlayChosenTrack();
        break;
    case IDM_SELECT_TRACK: PlayChosenTrack(); break;
    case IDM_TRACK_PROPERTIES: ShowChosenTrackProperties(); break;
    case IDM_HIDE: SetDialogSize(hidden_ ? kShowDialogAgain : kHideDialog); break;
    case IDC_EXIT: DestroyWindow(window()); break;
    default: break;
    }
}

UINT PlayerDialog::OnContextMenu(int x, int y, UINT flags) {
    const HMENU popup = GetSubMenu(contextMenu_.get(), 0);
    if (!popup) return 0;
    if (x == -1 && y == -1) {
        RECT rect{};
        GetWindowRect(window(), &rect);
        x = (rect.left + rect.right) / 2;
        y = (rect.top + rect.bottom) / 2;
    }
    return static_cast<UINT>(TrackPopupMenu(popup, TPM_RIGHTBUTTON | flags, x, y, 0, window(), nullptr));
}

void PlayerDialog::Play() {
    if (!streamLoaded_) return;
    const StreamStatus& status = EngineStatus();
    if (status.playing && status.paused) {
        if (!tamblin::ResumePlayback()) return;
    } else if (!status.playing) {
        if (!tamblin::StartPlayback()) {
            ShowCaption(PlayState::Stopped);
            return;
        }
    }
    ShowCaption(PlayState::Playing);
}

void PlayerDialog::Pause(bool fromUser) {
    if (!streamLoaded_) return;
    const StreamStatus& status = EngineStatus();
    if (!status.playing) {
        ShowCaption(PlayState::Stopped);
    } else if (!status.paused) {
        if (tamblin::PausePlayback()) ShowCaption(PlayState::Paused);
    } else if (fromUser && tamblin::ResumePlayback()) {
        ShowCaption(PlayState::Playing);
    }
}

void PlayerDialog::Stop(bool fromUser) {
    if (!streamLoaded_) return;
    if (EngineStatus().playing && !tamblin::StopPlayback(0)) return;
    slider_.SetPosition(0);
    ShowTrackTime(0);
    if (fromUser) {
        if (queue_.active()) RewindQueue();
        tamblin::StopPlayback(1);
        closeWhenDone_ = false;
        UndoVolumePreset();
    }
    ShowCaption(PlayState::Stopped);
}

void PlayerDialog::Step(int direction) {
    if (!streamLoaded_ || !EngineStatus().playing) return;
    const long long step = slider_.tickInterval() * kSliderUnitMs / 10;
    const long long target = static_cast<long long>(EngineStatus().position) + direction * step;
    if (target < 0 || target >= trackLengthMs_) return;
    slider_.SetPosition(static_cast<unsigned>(target / kSliderUnitMs));
    tamblin::SeekPlayback(static_cast<DWORD>(target));
}

void PlayerDialog::SetTimeMode(TimeMode mode) {
    timeMode_ = mode;
    ShowTimeMode();
    WriteRegInt(reg::kConfigurationKey, reg::kTimeDisplay, mode == TimeMode::Remaining ? 1 : 0);
    FocusOpenButton();
}

void PlayerDialog::ShowTimeMode() {
    const bool remaining = timeMode_ == TimeMode::Remaining;
    CheckDlgButton(window(), IDC_ELAPSED_MODE, remaining ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(window(), IDC_REMAINING_MODE, remaining ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(window(), IDC_TIME_LABEL, remaining ? "Remaining time:" : "Elapsed time:");
    ShowTrackTime(EnginePositionMs());
}

void PlayerDialog::SetRandom(bool on) {
    queue_.SetRandom(on, lastShownTrack_);
    WriteRegInt(reg::kConfigurationKey, reg::kRandomPlayback, on ? 1 : 0);
    ShowModes();
    if (!queue_.active()) return;
    UpdateCounters();
    section_.list().Redraw();
}

void PlayerDialog::SetEndless(bool on) {
    queue_.SetEndless(on);
    WriteRegInt(reg::kConfigurationKey, reg::kEndlessPlayback, on ? 1 : 0);
    ShowModes();
}

void PlayerDialog::ShowModes() {
    CheckDlgButton(window(), IDC_RANDOM, queue_.random() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window(), IDC_ENDLESS, queue_.endless() ? BST_CHECKED : BST_UNCHECKED);
}

void PlayerDialog::OpenCommand() {
    // Room for the names of a selection of many files.
    std::vector<char> names(kOpenNamesSize);
    WORD fileOffset = 0;
    if (!AskForPlayerFile(window(), names.data(), static_cast<DWORD>(names.size()),
                          OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT, GetOpenFileNameA, &fileOffset))
        return;
    OpenFiles(SelectedFiles(names.data(), fileOffset));
}

// Several files become a playlist in the temporary folder, which then opens
// as any playlist does.
void PlayerDialog::OpenFiles(const std::vector<std::string>& files) {
    if (files.empty()) return;
    FreeQueue();
    if (files.size() > 1) {
        const std::string list = TemporaryListName();
        DeleteFileA(list.c_str());
        if (!WritePlaylist(list, files, PlsKeyOrder::EntriesFirst)) {
            ShowError(window(), "Cannot write the playlist %s", list.c_str());
            return;
        }
        OpenFiles({list});
        return;
    }
    const std::string& file = files.front();
    if (OpenPlaylist(file)) {
        WriteRegString(reg::kConfigurationKey, reg::kRecentFile, currentFile_.c_str());
        PlayFirstTrack();
    } else if (OpenSingleTrack(file)) {
        WriteRegString(reg::kConfigurationKey, reg::kRecentFile, file.c_str());
        Play();
    }
}

void PlayerDialog::UrlCommand() {
    const std::optional<std::string> address =
        AskForUrl(app_.instance(), window(), reg::ReadStringSetting(reg::kRecentUrl));
    if (!address) return;
    FreeQueue();
    if (OpenPlaylist(*address)) {
        WriteRegString(reg::kConfigurationKey, reg::kRecentUrl, address->c_str());
        PlayFirstTrack();
    } else if (OpenSingleTrack(*address, true)) {
        WriteRegString(reg::kConfigurationKey, reg::kRecentUrl, address->c_str());
        Play();
    }
}

void PlayerDialog::OnDropFiles(HDROP drop) {
    std::vector<std::string> files = TakeDroppedFiles(drop);
    if (files.empty()) return;
    Stop(false);
    tamblin::CloseStream();
    streamLoaded_ = false;
    FreeQueue();
    if (OpenPlaylist(files.front())) {
        WriteRegString(reg::kConfigurationKey, reg::kRecentFile, currentFile_.c_str());
        PlayFirstTrack();
        return;
    }
    InitQueue(std::make_unique<NameList>(std::move(files)));
    const int first = NextTrack();
    if (!LoadQueueEntry(first)) {
        NextCommand();
        return;
    }
    WriteRegString(reg::kConfigurationKey, reg::kRecentFile, EntryFileName(entries_->Entry(first).text).c_str());
    Play();
}

void PlayerDialog::OnHandover() {
    Stop(false);
    char text[reg::kStringSize] = {};
    const bool readable = ReadRegString(reg::kConfigurationKey, reg::kCommandLine, text);
    SetForegroundWindow(window());
    if (readable) ProcessCommandLine(text);
}

void PlayerDialog::RestartAtPosition() {
    positionUpdates_ = false;
    const StreamStatus& status = EngineStatus();
    if (status.playing) {
        // A paused track stays paused in its new format.
        const bool paused = status.paused != 0;
        const auto position = static_cast<DWORD>(status.position);
        tamblin::StopPlayback(1);
        tamblin::SeekPlayback(position);
        if (!tamblin::StartPlayback())
            ShowCaption(PlayState::Stopped);
        else if (paused)
            tamblin::PausePlayback();
    }
    if (streamLoaded_) ShowParameters(EngineStatus());
    positionUpdates_ = true;
}

void PlayerDialog::OpenSettings() {
    if (sheetOpen_) return;
    const ScopedValue open(sheetOpen_, true);
    CPropertyPlayback sheet(window());
    sheet.Run(app_.instance());
}

void PlayerDialog::OnDoubleClick(POINT point) {
    if (sheetOpen_) return;
    if (!InSongArea(point))
        SetDialogSize((dialogSize_ + 1) % kDialogSizes);
    else if (streamLoaded_)
        ShowTrackProperties(currentEntry_);
}

bool PlayerDialog::InSongArea(POINT point) const {
    RECT area{};
    for (const int id : {IDC_TRACK_NAME, IDC_SOURCE_PARAMETERS, IDC_PLAYBACK_PARAMETERS}) {
        if (!IsWindowVisible(item(id))) continue;
        const RECT text = ChildRect(item(id));
        UnionRect(&area, &area, &text);
    }
    return PtInRect(&area, point) != FALSE;
}

void PlayerDialog::ShowTrackProperties(std::string entry) {
    if (sheetOpen_) return;
    const ScopedValue open(sheetOpen_, true);
    // The sheet reads its own copy of the text for as long as it runs.
    CStreamFileProps sheet(window(), entry);
    sheet.Run(app_.instance());
}

void PlayerDialog::OnStreamStarted(const StreamStatus& status) {
    // The reader has gone on into the next file of the run, and its audio now
    // plays. A notice that waited while another stream opened finds no run
    // to follow.
    if (runFollowed_ + 1 < run_.size() && runFollowed_ < readers_.file().listPosition()) {
        const int k = run_[++runFollowed_];
        queue_.Follow(k);
        currentEntry_ = entries_->Entry(k).text;
        ShowCurrentTrack();
        ApplyVolumePreset(queue_.volumePreset(k));
        durationLimitMs_ = TrackLimit(k);
    }
    PrepareDisplays(status);
    if (status.playing) ShowCaption(PlayState::Playing);
}

void PlayerDialog::OnPosition(const StreamStatus& status) {
    const auto position = static_cast<unsigned>(std::max(0.0f, status.position));
    if (durationLimitMs_ != 0 && position > durationLimitMs_ + kSliderUnitMs) {
        NextCommand();
        return;
    }
    if (!positionUpdates_) return;
    ShowTrackTime(position);
    slider_.SetPosition(position / kSliderUnitMs);
}

void PlayerDialog::OnStreamEnd() {
    ShowCaption(PlayState::Stopped);
    ShowTrackTime(0);
    slider_.SetPosition(0);
    fromStreamEnd_ = true;
    NextCommand();
}

void PlayerDialog::OnPositionScroll(int code) {
    if (!streamLoaded_) return;
    switch (code) {
    case TB_LINEUP:
    case TB_LINEDOWN:
    case TB_PAGEUP:
    case TB_PAGEDOWN: SeekFromSlider(); break;
    case TB_THUMBPOSITION:
        if (seeking_) break;
        seeking_ = true;
        SeekFromSlider();
        seeking_ = false;
        break;
    case TB_THUMBTRACK: {
        const unsigned ms = slider_.position() * kSliderUnitMs;
        if (durationLimitMs_ != 0 && ms >= durationLimitMs_) {
            slider_.SetPosition(durationLimitMs_ / kSliderUnitMs);
            ShowTrackTime(durationLimitMs_);
        } else {
            positionUpdates_ = false;
            ShowTrackTime(ms);
        }
        break;
    }
    default: break;
    }
}

void PlayerDialog::SeekFromSlider() {
    positionUpdates_ = false;
    unsigned position = slider_.position();
    if (position >= slider_.maximum() && position > 0) position = slider_.maximum() - 1;
    tamblin::SeekPlayback(position * kSliderUnitMs);
    if (IsDlgButtonChecked(window(), IDC_PAUSE) == BST_CHECKED) Pause(false);
    ShowTrackTime(position * kSliderUnitMs);
    positionUpdates_ = true;
}

bool PlayerDialog::OpenSingleTrack(const std::string& fileName, bool allowSaving) {
    ShowQueueSection(false);
    return OpenTrack(fileName, allowSaving);
}

bool PlayerDialog::OpenTrack(const std::string& entry, bool allowSaving) {
    const std::string fileName = EntryFileName(entry);
    currentEntry_ = entry;
    currentFile_ = fileName.substr(0, kMaxNameLength);
    tamblin::StopPlayback(0);
    tamblin::CloseStream();
    InputSource& reader = readers_.For(currentFile_);
    if (allowSaving && IsHttpAddress(currentFile_) && reg::ReadSetting(reg::kPlayAndSave, 0) != 0) AskForSaveFile();
    // A name longer than the player keeps could only open some other file.
    if (fileName.size() > kMaxNameLength ||
        !tamblin::OpenStream(marker_.atom(), window(), currentFile_.c_str(), &reader, kPositionTickMs)) {
        streamLoaded_ = false;
        ShowNoTrack();
        ShowMessage(window(), "MPEG stream init faild!", "Open audio file", MB_OK | MB_ICONWARNING);
        return false;
    }
    const StreamStatus& status = EngineStatus();
    const int track = queue_.current();
    const bool queued = queue_.active() && track >= 1 && track <= queue_.count();
    durationLimitMs_ = queued ? TrackLimit(track) : 0;
    ShowCaption(PlayState::Stopped);
    ApplyOpenVolume(status);
    volume_.OpenMixer(status.device, window());
    ApplyVolumePreset(queued ? queue_.volumePreset(track) : EntryVolumePreset(entry));
    PrepareDisplays(status);
    ShowTrackTime(0);
    streamLoaded_ = true;
    return true;
}

void PlayerDialog::AskForSaveFile() {
    char file[MAX_PATH] = {};
    // A file that cannot be made leaves the stream playing without a copy.
    if (AskForPlayerFile(window(), file, sizeof file, OFN_OVERWRITEPROMPT, GetSaveFileNameA))
        readers_.http().setPendingSaveFile(CreateSaveFile(file));
}

void PlayerDialog::ApplyOpenVolume(const StreamStatus& status) {
    WORD left = 0;
    WORD right = 0;
    tamblin::GetVolume(&left, &right);
    unsigned level = status.volumeLeft != 0 ? status.volumeLeft : std::max(left, right);
    if (volumeRestorePending_) {
        level = restoredVolume_;
        volumeRestorePending_ = false;
    }
    if (level != right) tamblin::SetVolume(level, level);
    volume_.Show(level);
}

void PlayerDialog::ApplyVolumePreset(unsigned preset) {
    WORD left = 0;
    WORD right = 0;
    tamblin::GetVolume(&left, &right);
    const unsigned level = PresetVolume(BaseVolume(left, volumePreset_), preset);
    if (level != right) tamblin::SetVolume(level, level);
    volumePreset_ = preset;
}

void PlayerDialog::UndoVolumePreset() { ApplyVolumePreset(100); }

void PlayerDialog::PrepareDisplays(const StreamStatus& status) {
    trackLengthMs_ = TrackLengthMs(status);
    slider_.Prepare(trackLengthMs_);
    SetDlgItemTextA(window(), IDC_TRACK_NAME, TrackNameText(TrackName(status).c_str(), status.description).c_str());
    ShowParameters(status);
}

void PlayerDialog::ShowParameters(const StreamStatus& status) {
    SetDlgItemTextA(window(), IDC_PLAYBACK_PARAMETERS, PlaybackParameterText(status).c_str());
    SetDlgItemTextA(window(), IDC_SOURCE_PARAMETERS, SourceParameterText(status).c_str());
}

void PlayerDialog::ShowNoTrack() {
    trackLengthMs_ = 0;
    durationLimitMs_ = 0;
    slider_.Prepare(0);
    SetDlgItemTextA(window(), IDC_TRACK_NAME, kNoTrackText);
    SetDlgItemTextA(window(), IDC_PLAYBACK_PARAMETERS, "");
    SetDlgItemTextA(window(), IDC_SOURCE_PARAMETERS, "");
    ShowTrackTime(0);
    ShowCaption(PlayState::Stopped);
}

void PlayerDialog::ShowTrackTime(unsigned positionMs) {
    timeText_ = FormatTrackTime(timeMode_, positionMs, trackLengthMs_);
    if (!IsIconic(window()))
        SetDlgItemTextA(window(), IDC_TRACK_TIME, timeText_.c_str());
    else if (!scroller_.running())
        SetWindowTextA(window(), MinimisedTitle().c_str());
    ShowTotalTime(positionMs);
}

void PlayerDialog::ShowCaption(PlayState state) {
    CheckDlgButton(window(), IDC_PLAY, state == PlayState::Playing ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window(), IDC_STOP, state == PlayState::Stopped ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window(), IDC_PAUSE, state == PlayState::Paused ? BST_CHECKED : BST_UNCHECKED);
    captionText_ = CaptionText(state, TrackName(EngineStatus()));
    tray_.ShowPlayState(state == PlayState::Playing);
    tray_.SetTip(captionText_);
    if (!IsIconic(window())) SetWindowTextA(window(), captionText_.c_str());
    RefreshScroller();
    if (GetForegroundWindow() == window()) FocusOpenButton();
}

void PlayerDialog::FocusOpenButton() {
    // Not in the small size, which hides it.
    if ((GetWindowLongPtrA(item(IDC_OPEN), GWL_STYLE) & WS_VISIBLE) == 0) return;
    SendMessageA(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_OPEN)), TRUE);
}

unsigned PlayerDialog::EnginePositionMs() const {
    return static_cast<unsigned>(std::max(0.0f, EngineStatus().position));
}

} // namespace quavera
