// quavera-bench: decoding speed of the core, as seconds of audio per CPU
// second, at every quality and divisor, next to mpg123 on the same file.
//
//   quavera-bench [FILE...]
//
// Without files it makes 60 s of stereo 44.1 kHz material with sox and
// encodes it with twolame at 192 and 384 kbit/s.
#include <sys/resource.h>

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

struct Run {
    double audioSeconds = 0;
    double cpu = 0;
    double realtime() const { return cpu > 0 ? audioSeconds / cpu : 0; }
};

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
    for (int kbps : {192, 384}) {
        const std::string out = (dir / ("material-" + std::to_string(kbps) + ".mp2")).string();
        const std::string encode =
            "twolame --quiet -b " + std::to_string(kbps) + " '" + wav + "' '" + out + "' >/dev/null 2>&1";
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
            std::fprintf(stderr, "quavera-bench: needs sox and twolame to make its material, or stream files\n");
            return 1;
        }
    }
    for (const std::string& path : streams) {
        std::printf("%s\n", path.c_str());
        Run q2r1;
        for (int quality : {1, 2, 3}) {
            for (int divisor : {1, 2, 4}) {
                // Best of three, so that a busy moment of the machine counts less.
                Run best = decode(path, quality, divisor);
                for (int i = 0; i < 2; ++i) {
                    const Run r = decode(path, quality, divisor);
                    best = r.cpu < best.cpu ? r : best;
                }
                std::printf("  quality %d, divisor %d: %8.1f x realtime\n", quality, divisor, best.realtime());
                if (quality == 2 && divisor == 1) {
                    q2r1 = best;
                }
            }
        }
        double mpg123 = mpg123Cpu(path);
        for (int i = 0; i < 2; ++i) {
            const double t = mpg123Cpu(path);
            mpg123 = t > 0 && (mpg123 == 0 || t < mpg123) ? t : mpg123;
        }
        if (mpg123 > 0) {
            const double mpgRealtime = q2r1.audioSeconds / mpg123;
            std::printf("  mpg123 -s:               %8.1f x realtime\n", mpgRealtime);
            std::printf("  quality 2, divisor 1 / mpg123: %.2f\n", q2r1.realtime() / mpgRealtime);
        } else {
            std::printf("  mpg123: not run\n");
        }
    }
    return 0;
}
