// libFuzzer target for the player's playlist pieces. The first byte picks
// what the rest is:
//   even: an ".m3u" file, indexed and read entry by entry; every entry text
//         then goes through the entry-text functions and the entry scan;
//   odd:  a queue's track lengths and a sequence of user commands.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "entry_scan.h"
#include "entry_text.h"
#include "http_address.h"
#include "m3u_index.h"
#include "playback_queue.h"
#include "playlist_names.h"

namespace {

using namespace quavera;

void Check(bool condition) {
    if (!condition) std::abort();
}

void ExerciseEntryText(const std::string& text) {
    for (int n = 0; n < 5; ++n) {
        const std::string field = EntryField(text, n);
        Check(field.find(';') == std::string::npos);
        (void)EntryNumber(text, n);
        Check(EntryField(SetEntryField(text, n, "value"), n) == "value");
        Check(EntryField(SetEntryField(text, n, -17), n) == "-17");
    }
    Check(BareTitle(text).find('\\') == std::string::npos);
    for (const bool path : {false, true})
        for (const bool extension : {false, true}) (void)DisplayName(text, path, extension);
    // A name saved relative to its own folder reads back as it was.
    const std::string folder = FolderOf(text);
    const std::string relative = RelativeEntryName(folder, text);
    if (!IsHttpAddress(relative)) Check(ResolveEntryName(folder, relative) == text);
    (void)PlaylistFormatOf(text);
    (void)EntryVolumePreset(text);
}

void FuzzM3u(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/quavera-fuzz-" + std::to_string(getpid()) + ".m3u";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    M3uIndex index;
    index.Open(path);
    const auto query = [](const std::string& name) -> std::optional<StreamFacts> {
        if (name.size() % 3 == 0) return std::nullopt;
        return StreamFacts{static_cast<int>(name.size() % 7) - 1, name.substr(0, 4)};
    };
    for (int n = 0; n <= index.count() + 1 && n < 300; ++n) {
        const PlaylistEntry entry = index.Entry(n);
        Check(entry.text.find('\n') == std::string::npos);
        Check(entry.text.find('\0') == std::string::npos);
        Check(entry.durationMs >= 0);
        ExerciseEntryText(entry.text);
        const ScannedEntry scanned = ScanEntry(entry, n % 2 == 0, query);
        Check(scanned.lengthMs != 0 || scanned.line == kUnreadableLine);
        Check(scanned.volumePreset >= 1 && scanned.volumePreset <= 100);
    }
}

void FuzzQueue(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return;
    const int count = data[0] % 40;
    PlaybackQueue queue(data[1]);
    Check(queue.Init(count) == PlaybackQueue::Setup::Ready);
    std::size_t i = 2;
    for (int k = 1; k <= count; ++k, ++i) queue.SetTrack(k, i < size ? static_cast<int>(data[i] % 5) - 1 : 1000, 100);
    int lastShown = 1;
    for (; i < size; ++i) {
        const int argument = count > 0 ? data[i] / 8 % count + 1 : 1;
        switch (data[i] % 8) {
        case 0: queue.Next(); break;
        case 1: queue.Previous(); break;
        case 2: if (count > 0) queue.Choose(argument); break;
        case 3: queue.SetRandom(!queue.random(), lastShown); break;
        case 4: queue.SetEndless(!queue.endless()); break;
        case 5: queue.Rewind(); break;
        case 6: queue.MarkUnreadable(argument); break;
        default: if (count > 0) queue.Follow(argument); break;
        }
        Check(queue.current() >= 0 && queue.current() <= count + 1);
        Check(queue.Waiting() >= 0 && queue.Waiting() <= count);
        Check(queue.PlayedBeforeMs() >= 0 && queue.PlayedBeforeMs() <= queue.TotalMs());
        if (queue.current() >= 1 && queue.current() <= count) lastShown = queue.current();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    if (data[0] % 2 == 0)
        FuzzM3u(data + 1, size - 1);
    else
        FuzzQueue(data + 1, size - 1);
    return 0;
}
