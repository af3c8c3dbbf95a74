// quavera-bench: decoding speed as a user sees it, against mpg123.
//
//   quavera-bench [--pairs N] [--quality LIST] [--decoder PATH] [--mpg123 PATH] [FILE...]
//
// For each stream and quality it times whole processes, both writing their
// PCM to /dev/null:
//   A: quavera-decode -q Q FILE /dev/null
//   B: mpg123 -q --no-gapless -s FILE > /dev/null
// alternated A B A B (after one unmeasured run of each), and prints the
// median of the pair ratios A/B of the processes' CPU time (user + system,
// from the kernel's accounting of each child) with their spread (lowest and
// highest ratio), and the median ratio of the wall-clock times beside it.
// Separately, and labelled as such, it prints the in-process decode-only
// speed: the decoder core's loop alone, without process start and output.
//
// Without files it makes its material with make_bench_streams.sh (300 s of
// music-like stereo, encoded as Layer II and Layer III) in
// ${TMPDIR:-/tmp}/quavera-bench-streams/bench.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "decoder.h"
#include "file_source.h"

extern char** environ;

namespace {

struct Options {
    int pairs = 9;
    std::vector<int> qualities{1, 2, 3};
    std::string decoder;
    std::string mpg123 = "mpg123";
    std::vector<std::string> streams;
};

struct ProcessTime {
    double cpu = 0; // user + system seconds
    double wall = 0;
    bool ok = false;
};

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

// Runs argv with standard output and error on /dev/null.
ProcessTime runProcess(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ProcessTime time;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return time;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        return time;
    }
    time.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    time.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    time.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return time;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Comparison {
    double oursCpu = 0;   // medians, seconds
    double mpg123Cpu = 0;
    double ratio = 0;     // median of the pairs' CPU ratios
    double lowest = 0;
    double highest = 0;
    double wallRatio = 0; // median of the pairs' wall-clock ratios
    bool ok = false;
};

Comparison compare(const Options& o, const std::string& path, int quality) {
    const std::vector<std::string> ours{o.decoder, "-q", std::to_string(quality), path, "/dev/null"};
    const std::vector<std::string> theirs{o.mpg123, "-q", "--no-gapless", "-s", path};
    Comparison c;
    // Once each unmeasured: the file in the page cache, the programs loaded.
    if (!runProcess(ours).ok || !runProcess(theirs).ok) {
        return c;
    }
    std::vector<double> a, b, ratios, wallRatios;
    for (int i = 0; i < o.pairs; ++i) {
        const ProcessTime ta = runProcess(ours);
        const ProcessTime tb = runProcess(theirs);
        if (!ta.ok || !tb.ok || tb.cpu <= 0 || tb.wall <= 0) {
            return c;
        }
        a.push_back(ta.cpu);
        b.push_back(tb.cpu);
        ratios.push_back(ta.cpu / tb.cpu);
        wallRatios.push_back(ta.wall / tb.wall);
    }
    c.oursCpu = median(a);
    c.mpg123Cpu = median(b);
    c.ratio = median(ratios);
    c.lowest = *std::min_element(ratios.begin(), ratios.end());
    c.highest = *std::max_element(ratios.begin(), ratios.end());
    c.wallRatio = median(wallRatios);
    c.ok = true;
    return c;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The decoder core's loop alone, best of three: audio seconds per CPU second.
double decodeOnly(const std::string& path, int quality) {
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        quavera::FileSource source;
        quavera::Decoder decoder;
        if (!decoder.bind(&source) || !decoder.openInput(path.c_str()) || !decoder.openStream({1, quality, 2, 16})) {
            return 0;
        }
        std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
        long frames = 0;
        const double start = cpuSeconds();
        while (decoder.decodeFrame(block.data()) != 0) {
            ++frames;
        }
        const double cpu = cpuSeconds() - start;
        const double audio = static_cast<double>(frames) * 1152.0 / decoder.info().samplingFrequency;
        best = std::max(best, cpu > 0 ? audio / cpu : 0.0);
    }
    return best;
}

std::vector<std::string> makeStreams() {
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path dir =
        std::filesystem::path(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") / "quavera-bench-streams" / "bench";
    const std::string make = "bash '" QUAVERA_BENCH_STREAMS_SCRIPT "' '" + dir.string() + "'";
    std::vector<std::string> streams;
    if (std::system(make.c_str()) != 0) {
        return streams;
    }
    for (const char* name : {"l2-192.mp2", "l2-384.mp2", "l3-128j.mp3", "l3-320.mp3", "l3-v2.mp3", "l3-lsf22.mp3"}) {
        streams.push_back((dir / name).string());
    }
    return streams;
}

int usage() {
    std::fprintf(stderr, "usage: quavera-bench [--pairs N] [--quality LIST] [--decoder PATH] [--mpg123 PATH] "
                         "[FILE...]\n       (N at least 7; LIST like 1,2,3)\n");
    return 2;
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--pairs" && hasValue) {
            o.pairs = std::atoi(argv[++i]);
            if (o.pairs < 7) {
                return false;
            }
        } else if (arg == "--quality" && hasValue) {
            o.qualities.clear();
            for (const char* p = argv[++i]; *p != '\0'; ++p) {
                if (*p >= '1' && *p <= '3') {
                    o.qualities.push_back(*p - '0');
                } else if (*p != ',') {
                    return false;
                }
            }
        } else if (arg == "--decoder" && hasValue) {
            o.decoder = argv[++i];
        } else if (arg == "--mpg123" && hasValue) {
            o.mpg123 = argv[++i];
        } else if (arg.starts_with("--")) {
            return false;
        } else {
            o.streams.push_back(arg);
        }
    }
    return !o.qualities.empty();
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        return usage();
    }
    if (o.decoder.empty()) {
        // The quavera-decode built beside this program.
        o.decoder = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "quavera-decode").string();
    }
    if (!std::filesystem::exists(o.decoder)) {
        std::fprintf(stderr, "quavera-bench: no decoder at %s\n", o.decoder.c_str());
        return 1;
    }
    if (o.streams.empty()) {
        o.streams = makeStreams();
        if (o.streams.empty()) {
            std::fprintf(stderr, "quavera-bench: needs sox, twolame and lame to make its material, or stream files\n");
            return 1;
        }
    }
    std::printf("Whole processes, PCM to /dev/null, %d pairs alternated A B:\n  A: %s -q Q FILE /dev/null\n"
                "  B: %s -q --no-gapless -s FILE > /dev/null\n"
                "ratio: median of the pairs' CPU-time ratios A/B (lowest..highest); wall: median wall-clock ratio\n\n",
                o.pairs, o.decoder.c_str(), o.mpg123.c_str());
    std::printf("| stream | quality | ours (s) | mpg123 (s) | ratio | spread | wall |\n|---|---|---|---|---|---|---|\n");
    bool failed = false;
    for (const std::string& path : o.streams) {
        const std::string name = std::filesystem::path(path).filename().string();
        for (int quality : o.qualities) {
            const Comparison c = compare(o, path, quality);
            if (!c.ok) {
                std::printf("| %s | %d | a process failed | | | | |\n", name.c_str(), quality);
                failed = true;
                continue;
            }
            std::printf("| %s | %d | %.3f | %.3f | %.2f | %.2f..%.2f | %.2f |\n", name.c_str(), quality, c.oursCpu,
                        c.mpg123Cpu, c.ratio, c.lowest, c.highest, c.wallRatio);
            std::fflush(stdout);
        }
    }
    std::printf("\nIn-process decode only (this build's decoder core, its loop alone: no process start, no output), "
                "best of 3, x realtime:\n");
    for (const std::string& path : o.streams) {
        std::printf("  %-16s", std::filesystem::path(path).filename().string().c_str());
        for (int quality : o.qualities) {
            std::printf("  q%d %8.0f", quality, decodeOnly(path, quality));
        }
        std::printf("\n");
    }
    return failed ? 1 : 0;
}
