// quavera-compare: how far a decoded PCM file is from a reference. Finds the
// delay between them (whole samples), then prints the signal-to-error ratio,
// the RMS and largest difference over the overlap.
//
//   quavera-compare [--channels N] [--search S] [--length L] TEST REFERENCE
//
// WAVE files carry their channel count; raw 16-bit files use --channels.
// --search: largest delay tried either way (samples per channel, default 0).
// --length: compare at most the first L samples per channel of the test.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "wav_file.h"

namespace {

struct Result {
    double snrDb = 0;
    double rmsLsb = 0;
    double maxAbsLsb = 0;
    long shift = 0;
    std::size_t frames = 0;
};

// Compares test frame i with reference frame i + shift.
Result compareAt(const quavera::PcmData& test, const quavera::PcmData& ref, long shift, std::size_t length) {
    const auto channels = static_cast<std::size_t>(test.channels);
    const std::size_t testFrames = std::min(test.samples.size() / channels, length);
    const std::size_t refFrames = ref.samples.size() / channels;
    Result r;
    r.shift = shift;
    double signal = 0;
    double error = 0;
    for (std::size_t i = 0; i < testFrames; ++i) {
        const long j = static_cast<long>(i) + shift;
        if (j < 0 || static_cast<std::size_t>(j) >= refFrames) {
            continue;
        }
        for (std::size_t c = 0; c < channels; ++c) {
            const double a = test.samples[i * channels + c];
            const double b = ref.samples[static_cast<std::size_t>(j) * channels + c];
            signal += b * b;
            error += (a - b) * (a - b);
            r.maxAbsLsb = std::max(r.maxAbsLsb, std::fabs(a - b));
        }
        ++r.frames;
    }
    const double n = static_cast<double>(r.frames * channels);
    r.rmsLsb = n > 0 ? std::sqrt(error / n) : 0;
    r.snrDb = error > 0 ? 10.0 * std::log10(signal / error) : 200.0;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    int channels = 2;
    long search = 0;
    std::size_t length = static_cast<std::size_t>(-1);
    int i = 1;
    for (; i + 1 < argc && std::strncmp(argv[i], "--", 2) == 0; i += 2) {
        if (std::strcmp(argv[i], "--channels") == 0) {
            channels = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--search") == 0) {
            search = std::atol(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--length") == 0) {
            length = static_cast<std::size_t>(std::atol(argv[i + 1]));
        } else {
            break;
        }
    }
    if (argc - i != 2 || channels < 1) {
        std::fprintf(stderr, "usage: quavera-compare [--channels N] [--search S] [--length L] TEST REFERENCE\n");
        return 2;
    }
    quavera::PcmData test;
    quavera::PcmData ref;
    if (!quavera::readPcm(argv[i], channels, test) || !quavera::readPcm(argv[i + 1], channels, ref)) {
        std::fprintf(stderr, "cannot read %s or %s\n", argv[i], argv[i + 1]);
        return 1;
    }
    if (test.channels != ref.channels || test.channels < 1) {
        std::fprintf(stderr, "channel counts differ: %d and %d\n", test.channels, ref.channels);
        return 1;
    }
    Result best = compareAt(test, ref, 0, length);
    for (long shift = -search; shift <= search; ++shift) {
        const Result r = compareAt(test, ref, shift, length);
        if (r.frames > 0 && (best.frames == 0 || r.snrDb > best.snrDb)) {
            best = r;
        }
    }
    std::printf("snr_db: %.2f\nrms_lsb: %.4f\nrms_fs: %.3e\nmax_abs_lsb: %.2f\nshift: %ld\nframes: %zu\n", best.snrDb,
                best.rmsLsb, best.rmsLsb / 32768.0, best.maxAbsLsb, best.shift, best.frames);
    return best.frames > 0 ? 0 : 1;
}
