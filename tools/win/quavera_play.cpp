// quavera-play: plays one file or HTTP address through Tamblin1.dll from the
// console and prints one line for every message the engine posts. The
// message boxes of the engine and of the HTTP reader go to standard error and
// are answered at once.
//
//   quavera-play [options] FILE|URL
//     --method 1|2|3      refresh method (timer, thread, device callback)
//     --divisor N --quality N --channels N --bits N --buffers N --frames N
//     --device N          wave-out device id (-1 default)
//     --tick MS           position tick interval (default 1000; 0 = none)
//     --start-at MS       seek before playback starts
//     --seek MS           seek after the first position message
//     --seek-paused MS    pause, seek and resume after the first position message
//     --pause-ms N        pause for N ms after the first position message, then resume
//     --stop-after MS     stop (and exit) after MS of wall time
//     --replay            after the end, play the stream once more from the start
//     --answer yes|no|cancel   button for question boxes (default yes)
//     --registry PATH     registry location of the settings (default the engine's);
//                         an address's proxy and account settings are read there too
//     --timeout MS        connect and receive time-out of an address (default 300000)
//     --save FILE         copy every byte read from an address into FILE
//     --fail-after BYTES  the reader fails every read after BYTES bytes (an
//                         input that becomes unreadable while it plays)
//     --volume N          set both channels to N (0..65535) as soon as playback has
//                         started, and print the level at the first position message
//     --stress N          N random pause/resume/seek/stop/start operations while it
//                         plays, then a seek near the end, and play to the end
//     --cpu               print the process's CPU time and the wall time at exit
//     --info              print the stream information and exit
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "file_reader.h"
#include "http_address.h"
#include "http_stream_reader.h"
#include "message_box_watcher.h"
#include "tamblin1.h"

namespace {

struct Options {
    int method = 0;
    int divisor = 0, quality = 0, channels = 0, bits = 0, buffers = 0, frames = 0;
    int device = -2;
    DWORD tick = 1000;
    long startAt = -1;
    long seek = -1;
    long seekPaused = -1;
    long pauseMs = -1;
    long stopAfter = -1;
    bool replay = false;
    bool info = false;
    long failAfter = -1;
    long stress = 0;
    long volume = -1;
    bool cpu = false;
    int answer = IDYES;
    long timeout = -1;
    std::string registry;
    std::string save;
    std::string file;
};

int Usage() {
    std::fputs("usage: quavera-play [--method N] [--divisor N] [--quality N] [--channels N] [--bits N]\n"
               "       [--buffers N] [--frames N] [--device N] [--tick MS] [--start-at MS] [--seek MS]\n"
               "       [--seek-paused MS] [--pause-ms N] [--stop-after MS] [--replay] [--answer yes|no|cancel]\n"
               "       [--registry PATH] [--fail-after BYTES] [--stress N] [--volume N] [--cpu] [--timeout MS]\n"
               "       [--save FILE] [--info] FILE|URL\n"
               "  settings and --stress take numbers from 1, --device from -1 (the default device),\n"
               "  times and byte counts from 0\n",
               stderr);
    return 2;
}

// A whole decimal number within [low, high]; anything else is refused.
template <typename T>
bool ParseNumber(const char* text, long low, long high, T& target) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return false;
    target = static_cast<T>(value);
    return true;
}

bool Parse(int argc, char** argv, Options& o) {
    constexpr long kMax = 0x7FFFFFFF;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const auto setting = [&](int& target) { return ParseNumber(value(), 1, kMax, target); };
        const auto amount = [&](auto& target) { return ParseNumber(value(), 0, kMax, target); };
        bool ok = true;
        if (arg == "--method") ok = setting(o.method);
        else if (arg == "--divisor") ok = setting(o.divisor);
        else if (arg == "--quality") ok = setting(o.quality);
        else if (arg == "--channels") ok = setting(o.channels);
        else if (arg == "--bits") ok = setting(o.bits);
        else if (arg == "--buffers") ok = setting(o.buffers);
        else if (arg == "--frames") ok = setting(o.frames);
        else if (arg == "--device") ok = ParseNumber(value(), -1, kMax, o.device);
        else if (arg == "--tick") ok = amount(o.tick);
        else if (arg == "--start-at") ok = amount(o.startAt);
        else if (arg == "--seek") ok = amount(o.seek);
        else if (arg == "--seek-paused") ok = amount(o.seekPaused);
        else if (arg == "--pause-ms") ok = amount(o.pauseMs);
        else if (arg == "--stop-after") ok = amount(o.stopAfter);
        else if (arg == "--fail-after") ok = amount(o.failAfter);
        else if (arg == "--stress") ok = ParseNumber(value(), 1, kMax, o.stress);
        else if (arg == "--volume") ok = ParseNumber(value(), 0, 0xFFFF, o.volume);
        else if (arg == "--timeout") ok = amount(o.timeout);
        else if (arg == "--cpu") o.cpu = true;
        else if (arg == "--replay") o.replay = true;
        else if (arg == "--info") o.info = true;
        else if (arg == "--registry" || arg == "--save") {
            const char* text = value();
            ok = text != nullptr;
            if (ok) (arg == "--save" ? o.save : o.registry) = text;
        } else if (arg == "--answer") {
            const char* given = value();
            const std::string text = given ? given : "";
            ok = text == "yes" || text == "no" || text == "cancel";
            o.answer = text == "no" ? IDNO : text == "cancel" ? IDCANCEL : IDYES;
        } else if (!arg.empty() && arg[0] != '-' && o.file.empty())
            o.file = arg;
        else
            ok = false;
        if (!ok) return false;
    }
    return !o.file.empty();
}

void ApplySettings(const Options& o) {
    int s[8];
    tamblin::ReadPlaybackConfiguration(&s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &s[7]);
    const int wanted[8] = {o.divisor, o.quality, o.channels, o.bits, o.buffers, o.frames, o.method, o.device};
    bool changed = false;
    for (int i = 0; i < 8; ++i) {
        const bool given = i == 7 ? wanted[i] != -2 : wanted[i] != 0;
        if (given && s[i] != wanted[i]) {
            s[i] = wanted[i];
            changed = true;
        }
    }
    if (changed) tamblin::WritePlaybackConfiguration(s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7]);
}

void PrintInfo(const quavera::StreamStatus& s) {
    std::printf("title: %s\ndescription: %s\nfileLength: %d\ntotalTime: %.1f\ncompressionRatio: %.3f\n"
                "layer: %u\nmpegVersion: %u\nbitratePerChannel: %u\noutputRate: %u\nstreamRate: %u\n"
                "outputChannels: %u\nstreamChannels: %u\nbitsPerSample: %u\nquality: %u\n",
                s.title, s.description, s.fileLength, static_cast<double>(s.totalTime),
                static_cast<double>(s.compressionRatio), s.layer, s.mpegVersion, s.bitratePerChannel, s.outputRate,
                s.streamRate, s.outputChannels, s.streamChannels, s.bitsPerSample, s.quality);
}

// Prints the boxes the watcher saw since the last call.
class BoxPrinter {
public:
    explicit BoxPrinter(quavera::test::MessageBoxWatcher& watcher) : watcher_(watcher) {}
    void flush() {
        const auto boxes = watcher_.boxes();
        for (; printed_ < boxes.size(); ++printed_)
            std::fprintf(stderr, "%s: %s\n", boxes[printed_].caption.c_str(), boxes[printed_].text.c_str());
    }

private:
    quavera::test::MessageBoxWatcher& watcher_;
    std::size_t printed_ = 0;
};

// A file reader whose reads fail once a number of bytes has been delivered.
class FailingReader final : public quavera::InputSource {
public:
    explicit FailingReader(long budget) : budget_(budget) {}
    int open(const char* name) override { return file_.open(name); }
    int close() override { return file_.close(); }
    std::uint32_t read(void* buffer, std::uint32_t count) override {
        if (budget_ >= 0 && delivered_ >= budget_) return 0;
        const std::uint32_t done = file_.read(buffer, count);
        delivered_ += done;
        return done;
    }
    int seek(std::int32_t position) override { return file_.seek(position); }
    std::int32_t tell() override { return file_.tell(); }
    std::int32_t length() override { return file_.length(); }
    const char* name() override { return file_.name(); }
    int fileChanged() override { return file_.fileChanged(); }

private:
    quavera::FileReader file_;
    long budget_;
    long delivered_ = 0;
};

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

constexpr UINT_PTR kStopTimer = 1;
constexpr UINT_PTR kResumeTimer = 2;
constexpr UINT_PTR kStressTimer = 3;

struct Player {
    Options options;
    bool firstPosition = true;
    bool replayed = false;
    long stressLeft = 0;
    unsigned random = 12345;

    unsigned next(unsigned range) {
        random = random * 1103515245u + 12345u;
        return (random >> 16) % range;
    }
};

Player* g_player = nullptr;

void Say(const char* what) {
    const quavera::StreamStatus* s = tamblin::GetPlaybackStatus();
    std::printf("%s %.0f\n", what, static_cast<double>(s->position));
    std::fflush(stdout);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Player& p = *g_player;
    if (message == WM_COMMAND) {
        switch (wParam) {
        case CMD_POSITION:
            Say("CMD_POSITION");
            if (p.firstPosition) {
                p.firstPosition = false;
                WORD left = 0;
                WORD right = 0;
                if (p.options.volume >= 0 && tamblin::GetVolume(&left, &right))
                    std::printf("volume %u %u\n", left, right);
                if (p.options.seek >= 0) {
                    std::printf("seek %ld -> %d\n", p.options.seek,
                                tamblin::SeekPlayback(static_cast<DWORD>(p.options.seek)));
                }
                if (p.options.seekPaused >= 0) {
                    std::printf("pause -> %d\n", tamblin::PausePlayback());
                    std::printf("seek %ld -> %d\n", p.options.seekPaused,
                                tamblin::SeekPlayback(static_cast<DWORD>(p.options.seekPaused)));
                    const quavera::StreamStatus* s = tamblin::GetPlaybackStatus();
                    std::printf("paused %d position %.0f\n", s->paused, static_cast<double>(s->position));
                    SetTimer(window, kResumeTimer, 300, nullptr);
                }
                if (p.options.pauseMs >= 0) {
                    std::printf("pause -> %d\n", tamblin::PausePlayback());
                    SetTimer(window, kResumeTimer, static_cast<UINT>(p.options.pauseMs), nullptr);
                }
            }
            break;
        case CMD_STREAM_STARTED:
            Say("CMD_STREAM_STARTED");
            break;
        case CMD_STREAM_END:
            Say("CMD_STREAM_END");
            if (p.options.replay && !p.replayed) {
                p.replayed = true;
                std::printf("replay -> %d\n", tamblin::StartPlayback());
            } else {
                PostQuitMessage(0);
            }
            break;
        default:
            break;
        }
        std::fflush(stdout);
        return 0;
    }
    if (message == WM_TIMER) {
        KillTimer(window, wParam);
        if (wParam == kResumeTimer) {
            std::printf("resume -> %d\n", tamblin::ResumePlayback());
        } else if (wParam == kStressTimer) {
            const DWORD total = static_cast<DWORD>(tamblin::GetPlaybackStatus()->totalTime);
            if (p.stressLeft-- > 0) {
                switch (p.next(6)) {
                case 0: tamblin::PausePlayback(); break;
                case 1: tamblin::ResumePlayback(); break;
                case 2:
                case 3: tamblin::SeekPlayback(total > 0 ? p.next(total) : 0); break;
                case 4: tamblin::StopPlayback(0); break;
                default: tamblin::StartPlayback(); break;
                }
                SetTimer(window, kStressTimer, 5 + p.next(25), nullptr);
            } else {
                // Settle: whatever state the operations left, the stream must
                // still start, seek and play to its end.
                tamblin::ResumePlayback();
                std::printf("settle start -> %d\n", tamblin::StartPlayback());
                const quavera::StreamStatus* s = tamblin::GetPlaybackStatus();
                std::printf("settle playing %d paused %d\n", s->playing, s->paused);
                std::printf("settle seek -> %d\n", tamblin::SeekPlayback(total > 1500 ? total - 1500 : 0));
            }
        } else if (wParam == kStopTimer) {
            Say("stop");
            std::printf("stop -> %d\n", tamblin::StopPlayback(0));
            PostQuitMessage(0);
        }
        std::fflush(stdout);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    Player player;
    if (!Parse(argc, argv, player.options)) return Usage();
    const Options& o = player.options;
    g_player = &player;

    quavera::test::MessageBoxWatcher watcher(o.answer);
    BoxPrinter boxes(watcher);
    if (!o.registry.empty()) tamblin::SetRegistryLocation(o.registry.c_str());
    ApplySettings(o);

    FailingReader fileReader(o.failAfter);
    quavera::HttpStreamReader httpReader(o.registry.empty() ? quavera::reg::kConfigurationKey : o.registry);
    if (o.timeout >= 0) httpReader.setTimeout(static_cast<DWORD>(o.timeout));
    if (!o.save.empty()) httpReader.setPendingSaveFile(quavera::CreateSaveFile(o.save.c_str()));
    quavera::InputSource& reader =
        quavera::IsHttpAddress(o.file) ? static_cast<quavera::InputSource&>(httpReader) : fileReader;
    if (o.info) {
        const quavera::StreamStatus* s = tamblin::QueryStreamInfo(nullptr, o.file.c_str(), &reader);
        boxes.flush();
        if (!s || s->layer == 0) return 1;
        PrintInfo(*s);
        return 0;
    }

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuaveraPlay";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("QuaveraPlay", "quavera-play", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    httpReader.setOwner(window);

    if (!tamblin::OpenStream(1, window, o.file.c_str(), &reader, o.tick)) {
        boxes.flush();
        return 1;
    }
    if (o.startAt >= 0) {
        std::printf("start at %ld -> %d\n", o.startAt, tamblin::SeekPlayback(static_cast<DWORD>(o.startAt)));
    }
    if (!tamblin::StartPlayback()) {
        boxes.flush();
        tamblin::CloseStream();
        return 1;
    }
    if (o.volume >= 0) tamblin::SetVolume(static_cast<DWORD>(o.volume), static_cast<DWORD>(o.volume));
    std::printf("playing %s\n", o.file.c_str());
    std::fflush(stdout);
    if (o.stopAfter >= 0) SetTimer(window, kStopTimer, static_cast<UINT>(o.stopAfter), nullptr);
    player.stressLeft = o.stress;
    if (o.stress > 0) SetTimer(window, kStressTimer, 20, nullptr);
    const DWORD startTime = GetTickCount();
    const double startCpu = ProcessCpuMs();

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
        boxes.flush();
    }
    boxes.flush();
    if (o.cpu) {
        // From the start of playback on: the program's own start-up under
        // Wine is not the engine's cost.
        const double busy = ProcessCpuMs() - startCpu;
        const double wall = GetTickCount() - startTime;
        std::printf("cpu %.0f ms of %.0f ms wall: %.2f %% of one core\n", busy, wall, 100.0 * busy / wall);
    }
    tamblin::StopPlayback(1);
    tamblin::CloseStream();
    DestroyWindow(window);
    return 0;
}
