// The main dialog's queue: playlists and drops become a queue of tracks,
// which the dialog picks, loads and follows, and whose section it shows.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "continuous_run.h"
#include "entry_scan.h"
#include "entry_text.h"
#include "player_app.h"
#include "player_dialog.h"
#include "playlist_editor.h"
#include "playlist_file.h"
#include "http_address.h"
#include "playlist_names.h"
#include "progress_dialog.h"
#include "registry_values.h"
#include "resource.h"
#include "stream_query.h"
#include "tamblin1.h"
#include "winbasic.h"

namespace quavera {
namespace {

// Shows the scan in the progress window and the lines in the track list.
class ScanDisplay final : public ScanObserver {
public:
    ScanDisplay(ProgressDialog& progress, TrackList& list) : progress_(progress), list_(list) {}
    bool Scanning(int, const std::string& text) override { return progress_.Step(text); }
    void Scanned(int k, const std::string& line) override { list_.Add(k, line); }

private:
    ProgressDialog& progress_;
    TrackList& list_;
};

} // namespace

bool PlayerDialog::OpenPlaylist(const std::string& name) {
    if (PlaylistFormatOf(name) == PlaylistFormat::None) return false;
    std::string local = name;
    if (IsHttpAddress(name)) {
        tamblin::StopPlayback(0);
        tamblin::CloseStream();
        streamLoaded_ = false;
        local = DownloadPlaylist(queueReaders_.http(), name);
        // Without a copy the address opens as a stream, whose failure the
        // engine explains.
        if (local.empty()) return false;
    }
    local = FullPathName(local);
    std::unique_ptr<EntrySource> entries = OpenPlaylistFile(local);
    currentFile_ = local;
    if (entries->count() == 0) ShowWarning(window(), "Open playlist", "The playlist %s holds no entries.", local.c_str());
    InitQueue(std::move(entries));
    playlistFile_ = local;
    return true;
}

void PlayerDialog::InitQueue(std::unique_ptr<EntrySource> entries) {
    FreeQueue();
    tamblin::StopPlayback(0);
    // The player is in playlist or drop mode from here on, also when the
    // queue stays empty.
    entries_ = std::move(entries);
    const int count = entries_->count();
    ProgressDialog progress(app_.instance(), window(), "Initialize playlist playback", count);
    switch (queue_.Init(count)) {
    case PlaybackQueue::Setup::NoMemoryForMarks:
        ShowMessage(window(), "Sorry, not enough memory for random playback", "Tag list error", MB_OK | MB_ICONERROR);
        return;
    case PlaybackQueue::Setup::NoMemoryForTimes:
        ShowMessage(window(), "Sorry, not enough memory for total time display", "Time list error",
                    MB_OK | MB_ICONERROR);
        return;
    case PlaybackQueue::Setup::Ready: break;
    }
    TrackList& list = section_.list();
    list.Clear();
    list.Reserve(count);
    ScanDisplay display(progress, list);
    const bool skipHttpScan = reg::ReadSetting(reg::kSkipHttpFileScan, 1) != 0;
    ScanQueue(*entries_, queue_, skipHttpScan,
              [this](const std::string& name) { return QueryStream(window(), queueReaders_.For(name), name); }, display);
}

void PlayerDialog::FreeQueue() {
    queue_.Free();
    entries_.reset();
    playlistFile_.clear();
    run_.clear();
    runFollowed_ = 0;
}

void PlayerDialog::ShowCurrentTrack() {
    UpdateCounters();
    section_.list().Select(queue_.current());
    section_.list().Redraw();
}

int PlayerDialog::NextTrack() {
    const int k = queue_.Next();
    if (k <= queue_.count()) ShowCurrentTrack();
    return k;
}

int PlayerDialog::PreviousTrack() {
    const int k = queue_.Previous();
    if (k != 0) ShowCurrentTrack();
    return k;
}

unsigned PlayerDialog::TrackLimit(int k) {
    return static_cast<unsigned>(std::max(EntryNumber(entries_->Entry(k).text, kEntryDuration), 0));
}

bool PlayerDialog::LoadQueueEntry(int k) {
    if (k < 1 || k > queue_.count() || !queue_.readable(k)) return false;
    const std::string text = entries_->Entry(k).text;
    const std::string name = EntryFileName(text);
    if (name.empty()) return false;

    // Local tracks that follow each other play as one stream.
    std::vector<int> run{k};
    std::string stream = text;
    const auto fileName = [&](int j) { return EntryFileName(entries_->Entry(j).text); };
    if (reg::ReadSetting(reg::kDisableContinuous, 0) == 0 && !queue_.random() && queue_.current() < queue_.count() &&
        !IsHttpAddress(name)) {
        run = RunFrom(k, queue_.count(), [&](int j) {
            const std::string next = fileName(j);
            return queue_.readable(j) && !next.empty() && !IsHttpAddress(next) && next.size() <= kMaxNameLength;
        });
        if (run.size() > 1) {
            std::vector<std::string> files;
            for (const int j : run) files.push_back(fileName(j));
            stream = readers_.file().ListName(std::move(files));
        }
    }
    if (!OpenTrack(stream)) {
        queue_.MarkUnreadable(k);
        section_.list().Redraw();
        run_.clear();
        return false;
    }
    // The track's properties are those of its entry, also when it opened as a run.
    currentEntry_ = text;
    run_ = std::move(run);
    runFollowed_ = 0;
    return true;
}

void PlayerDialog::PlayFirstTrack() {
    if (LoadQueueEntry(NextTrack()))
        Play();
    else
        NextCommand();
}

void PlayerDialog::NextCommand() {
    const bool fromStreamEnd = std::exchange(fromStreamEnd_, false);
    if (!entries_) {
        if (queue_.endless())
            Play();
        else if (closeWhenDone_)
            DestroyWindow(window());
        else if (!currentFile_.empty() && OpenTrack(currentFile_))
            tamblin::StopPlayback(1);
        return;
    }
    for (;;) {
        const int k = NextTrack();
        const bool inQueue = k <= queue_.count();
        if (inQueue) Stop(false);
        if (LoadQueueEntry(k)) {
            Play();
            return;
        }
        if (!inQueue) break;
        // Unreadable tracks are passed over one question at a time.
        if (ShowMessage(window(), "Do you want to cancel the actual playback request?", "Playlist abort",
                        MB_YESNO | MB_ICONQUESTION) != IDNO)
            return;
    }
    // The queue has run out: at the end of the last track it stands ready at
    // its first; a Next of the user's own leaves it at its end.
    if (!fromStreamEnd) return;
    RewindQueue();
    tamblin::StopPlayback(1);
    UndoVolumePreset();
    if (closeWhenDone_) DestroyWindow(window());
}

void PlayerDialog::PreviousCommand() {
    // Going round endlessly, every track is tried once at most.
    for (int tries = 0; tries < queue_.count(); ++tries) {
        const int k = PreviousTrack();
        if (k == 0) return;
        Stop(false);
        if (LoadQueueEntry(k)) {
            Play();
            return;
        }
    }
}

void PlayerDialog::PlayChosenTrack() {
    const int k = section_.list().Selected();
    if (k < 1 || k > queue_.count() || !queue_.readable(k)) return;
    Stop(false);
    queue_.Choose(k);
    ShowCurrentTrack();
    if (LoadQueueEntry(k))
        Play();
    else
        NextCommand();
}

void PlayerDialog::ShowChosenTrackProperties() {
    const int k = section_.list().Selected();
    if (k < 1 || k > queue_.count() || !entries_) return;
    ShowTrackProperties(entries_->Entry(k).text);
}

void PlayerDialog::RewindQueue() {
    queue_.Rewind();
    LoadQueueEntry(1);
    ShowCurrentTrack();
}

void PlayerDialog::UpdateCounters() {
    const int count = queue_.count();
    if (count <= 1) {
        ShowQueueSection(false);
        lastShownTrack_ = 1;
        return;
    }
    ShowQueueSection(true);
    lastShownTrack_ = queue_.current();
    section_.ShowCounters(queue_.current(), count, queue_.Waiting());
    playedBeforeMs_ = queue_.PlayedBeforeMs();
    section_.ShowTotalTime(queue_.TotalMs());
    ShowTrackTime(EnginePositionMs());
}

void PlayerDialog::ShowTotalTime(unsigned positionMs) {
    if (queue_.count() <= 1) return;
    section_.ShowTotalPosition(totalRemaining_, queue_.TotalMs(), playedBeforeMs_ + positionMs);
}

void PlayerDialog::SetTotalMode(bool remaining) {
    totalRemaining_ = remaining;
    section_.ShowTotalMode(remaining);
    ShowTotalTime(EnginePositionMs());
    WriteRegInt(reg::kConfigurationKey, reg::kTotalTimeDisplay, remaining ? 1 : 0);
    FocusOpenButton();
}

std::string PlayerDialog::TrackName(const StreamStatus& status) const {
    if (!queue_.active()) return status.title;
    const int k = queue_.current();
    return k >= 1 && k <= queue_.count() ? section_.list().Text(k) : std::string();
}

void PlayerDialog::EditPlaylist() {
    std::string result;
    PlaylistEditor editor(app_.instance(), window(), playlistFile_, &result);
    // The player may have been closed meanwhile, which closes the editor too.
    if (editor.Run() == IDOK && !result.empty() && window()) OpenFiles({result});
}

void PlayerDialog::OnTrackListMenu(int x, int y) {
    const HMENU popup = GetSubMenu(trackMenu_.get(), 0);
    const HWND list = section_.list().window();
    if (!popup || !queue_.active()) return;
    if (x == -1 && y == -1) {
        RECT rect{};
        GetWindowRect(list, &rect);
        x = (rect.left + rect.right) / 2;
        y = (rect.top + rect.bottom) / 2;
    } else {
        // The line clicked on is the one the menu is for.
        POINT point{x, y};
        ScreenToClient(list, &point);
        const auto hit = static_cast<DWORD>(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y)));
        if (HIWORD(hit) == 0) section_.list().Select(LOWORD(hit) + 1);
    }
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, window(), nullptr);
}

} // namespace quavera
