// quavera-bench: decoding speed of the core, as seconds of audio per CPU
// second, at every quality and divisor, next to mpg123 on the same file.
// Each figure is the best of several runs, with the spread of the runs
// (slowest over fastest), since the machine may be busy.
//
//   quavera-bench [FILE...]
//
// Without files it makes 60 s of stereo 44.1 kHz material with sox and
// encodes it with twolame at 192 and 384 kbit/s (Layer II) and with lame at
// 128 and 320 kbit/s and in VBR (Layer III).
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "decoder.h"
#include "file_source.h"

namespace {

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

constexpr int kRuns = 5;

struct Run {
    double audioSeconds = 0;
    double cpu = 0;
    double realtime() const { return cpu > 0 ? audioSeconds / cpu : 0; }
};

// The fastest and the slowest of kRuns runs.
struct Figures {
    Run best;
    double slowestCpu = 0;
    double spread() const { return best.cpu > 0 ? slowestCpu / best.cpu : 0; }
};

template <class Measure>
Figures repeatRuns(Measure measure) {
    Figures f;
    for (int i = 0; i < kRuns; ++i) {
        const Run r = measure();
        if (i == 0 || (r.cpu > 0 && r.cpu < f.best.cpu)) {
            f.best = r;
        }
        f.slowestCpu = std::max(f.slowestCpu, r.cpu);
    }
    return f;
}

Run decode(const std::string& path, int quality, int divisor) {
    Run run;
    quavera::FileSource source;
    quavera::Decoder decoder;
    if (!decoder.bind(&source) || !decoder.openInput(path.c_str()) ||
        !decoder.openStream({divisor, quality, 2, 16})) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), decoder.lastError());
        return run;
    }
    std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
    long frames = 0;
    const double start = cpuSeconds(RUSAGE_SELF);
    while (decoder.decodeFrame(block.data()) != 0) {
        ++frames;
    }
    run.cpu = cpuSeconds(RUSAGE_SELF) - start;
    run.audioSeconds = static_cast<double>(frames) * 1152.0 / decoder.info().samplingFrequency;
    return run;
}

double mpg123Cpu(const std::string& path) {
    const double start = cpuSeconds(RUSAGE_CHILDREN);
    const std::string command = "mpg123 -q --no-gapless -s '" + path + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return 0;
    }
    return cpuSeconds(RUSAGE_CHILDREN) - start;
}

std::vector<std::string> makeStreams() {
    const auto dir = std::filesystem::temp_directory_path() / "quavera-bench";
    std::filesystem::create_directories(dir);
    const std::string wav = (dir / "material.wav").string();
    const std::string make = "sox -R -n -r 44100 -c 2 -b 16 '" + wav +
                             "' synth 60 sine 100-8000 pinknoise sine 440 remix 1,2v0.5 2,3v0.5 gain -4 2>/dev/null";
    std::vector<std::string> streams;
    if (std::system(make.c_str()) != 0) {
        return streams;
    }
    const struct {
        const char* name;
        const char* encoder;
    } encodings[] = {
        {"192.mp2", "twolame --quiet -b 192"}, {"384.mp2", "twolame --quiet -b 384"},
        {"128.mp3", "lame --quiet -b 128"},    {"320.mp3", "lame --quiet -b 320"},
        {"vbr2.mp3", "lame --quiet -V 2"},
    };
    for (const auto& e : encodings) {
        const std::string out = (dir / (std::string("material-") + e.name)).string();
        const std::string encode = std::string(e.encoder) + " '" + wav + "' '" + out + "' >/dev/null 2>&1";
        if (std::system(encode.c_str()) == 0) {
            streams.push_back(out);
        }
    }
    return streams;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> streams(argv + 1, argv + argc);
    if (streams.empty()) {
        streams = makeStreams();
        if (streams.empty()) {
            std::fprintf(stderr, "quavera-bench: needs sox, twolame and lame to make its material, or stream files\n");
            return 1;
        }
    }
    for (const std::string& path : streams) {
        std::printf("%s\n", path.c_str());
        Run q2r1;
        for (int quality : {1, 2, 3}) {
            for (int divisor : {1, 2, 4}) {
                const Figures f = repeatRuns([&] { return decode(path, quality, divisor); });
                std::printf("  quality %d, divisor %d: %8.1f x realtime (spread %.2f)\n", quality, divisor,
                            f.best.realtime(), f.spread());
                if (quality == 2 && divisor == 1) {
                    q2r1 = f.best;
                }
            }
        }
        const Figures mpg123 = repeatRuns([&] { return Run{q2r1.audioSeconds, mpg123Cpu(path)}; });
        if (mpg123.best.cpu > 0) {
            std::printf("  mpg123 -s:               %8.1f x realtime (spread %.2f)\n", mpg123.best.realtime(),
                        mpg123.spread());
            std::printf("  quality 2, divisor 1 / mpg123: %.2f\n", q2r1.realtime() / mpg123.best.realtime());
        } else {
            std::printf("  mpg123: not run\n");
        }
    }
    return 0;
}
