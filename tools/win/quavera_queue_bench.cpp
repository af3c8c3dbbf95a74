// quavera-queue-bench: prints the time the queue's set-up takes per entry for
// playlists of 100 to 100 000 entries, as the player sets it up: the playlist
// opened by name, the queue's lists, the scan of every entry (the engine's
// stream information of each file, unless the entry states its length) and
// the lines of the track list. Every entry names the same short file.
//
//   quavera-queue-bench FOLDER SHORT.mp2 [LARGEST]
// FOLDER receives the playlists (Windows path); LARGEST caps the sizes.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "entry_scan.h"
#include "file_reader.h"
#include "message_box_watcher.h"
#include "playback_queue.h"
#include "playlist_file.h"
#include "stream_query.h"
#include "track_list.h"

namespace {

using namespace quavera;

struct Kind {
    const char* name;
    const char* extension;
    // The text of a playlist of n entries naming file.
    std::string (*text)(int n, const std::string& file);
};

std::string M3uScan(int n, const std::string& file) {
    std::string text = "#EXTM3U\r\n";
    for (int k = 0; k < n; ++k) text += file + "\r\n";
    return text;
}

std::string M3uLimit(int n, const std::string& file) {
    std::string text;
    for (int k = 0; k < n; ++k) text += file + ";;;1000\r\n";
    return text;
}

std::string M3uExtinf(int n, const std::string& file) {
    std::string text = "#EXTM3U\r\n";
    for (int k = 0; k < n; ++k) text += "#EXTINF:1,Short " + std::to_string(k) + "\r\n" + file + "\r\n";
    return text;
}

std::string PlsText(int n, const std::string& file, const char* fields) {
    std::string text = "[playlist]\r\nNumberOfEntries=" + std::to_string(n) + "\r\n";
    for (int k = 1; k <= n; ++k) text += "File" + std::to_string(k) + "=" + file + fields + "\r\n";
    return text;
}

std::string PlsScan(int n, const std::string& file) { return PlsText(n, file, ""); }
std::string PlsLimit(int n, const std::string& file) { return PlsText(n, file, ";;;1000"); }

constexpr Kind kKinds[] = {
    {".m3u, scanned", ".m3u", M3uScan},
    {".m3u, length in the entry", ".m3u", M3uLimit},
    {".m3u, #EXTINF lengths", ".m3u", M3uExtinf},
    {".pls, scanned", ".pls", PlsScan},
    {".pls, length in the entry", ".pls", PlsLimit},
};

// Adds the lines to a hidden track list, as the dialog does.
class ListLines final : public ScanObserver {
public:
    explicit ListLines(TrackList& list) : list_(list) {}
    bool Scanning(int, const std::string&) override { return true; }
    void Scanned(int k, const std::string& line) override {
        list_.Add(k, line);
        unreadable_ += line == kUnreadableLine;
    }
    int unreadable() const { return unreadable_; }

private:
    TrackList& list_;
    int unreadable_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: quavera-queue-bench FOLDER SHORT.mp2 [LARGEST]\n", stderr);
        return 2;
    }
    const std::string folder = FullPathName(argv[1]) + "\\";
    const std::string file = FullPathName(argv[2]);
    const int largest = argc > 3 ? std::atoi(argv[3]) : 100000;
    quavera::test::MessageBoxWatcher boxes(IDOK);

    const HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    FileReader reader;
    const StreamQuery query = [&](const std::string& name) { return QueryStream(parent, reader, name); };

    std::printf("%-28s %8s %12s %14s\n", "playlist", "entries", "set-up ms", "us per entry");
    for (const Kind& kind : kKinds) {
        for (int n = 100; n <= largest; n *= 10) {
            const std::string path = folder + "bench-" + std::to_string(n) + kind.extension;
            std::ofstream(path, std::ios::binary) << kind.text(n, file);

            const HWND listBox = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                                 LBS_NOINTEGRALHEIGHT, 0, 0, 100, 100, parent, nullptr, nullptr, nullptr);
            TrackList list;
            list.Attach(listBox);
            const auto start = std::chrono::steady_clock::now();
            const auto source = OpenPlaylistFile(path);
            PlaybackQueue queue(1);
            queue.Init(source->count());
            list.Clear();
            list.Reserve(queue.count());
            ListLines lines(list);
            ScanQueue(*source, queue, true, query, lines);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            DestroyWindow(listBox);

            std::printf("%-28s %8d %12.1f %14.2f", kind.name, n, ms, 1000.0 * ms / n);
            if (lines.unreadable() != 0 || queue.count() != n) std::printf("   (%d unreadable of %d)", lines.unreadable(), queue.count());
            std::printf("\n");
            std::fflush(stdout);
            DeleteFileA(path.c_str());
        }
    }
    for (const auto& box : boxes.boxes()) std::fprintf(stderr, "%s: %s\n", box.caption.c_str(), box.text.c_str());
    DestroyWindow(parent);
    return 0;
}
