// quavera-compare: how far a decoded PCM file is from a reference. Finds the
// delay between them (whole samples), then prints the signal-to-error ratio,
// the RMS and largest difference over the overlap.
//
//   quavera-compare [--channels N] [--search S] [--length L] [--lowpass F] TEST REFERENCE
//
// WAVE files carry their channel count; raw 16-bit files use --channels.
// --search: largest delay tried either way (samples per channel, default 0).
// --length: compare at most the first L samples per channel of the test.
// --lowpass: filter both first, cutoff F as a fraction of the Nyquist
// frequency (0.71875 = 23/32 for Layer III, whose subbands 24 to 31 are dropped).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "low_pass.h"
#include "pcm_compare.h"
#include "wav_file.h"

int main(int argc, char** argv) {
    int channels = 2;
    long search = 0;
    std::size_t length = static_cast<std::size_t>(-1);
    double lowpass = 0;
    int i = 1;
    for (; i + 1 < argc && std::strncmp(argv[i], "--", 2) == 0; i += 2) {
        if (std::strcmp(argv[i], "--channels") == 0) {
            channels = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--search") == 0) {
            search = std::atol(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--lowpass") == 0) {
            lowpass = std::atof(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--length") == 0) {
            length = static_cast<std::size_t>(std::atol(argv[i + 1]));
        } else {
            break;
        }
    }
    if (argc - i != 2 || channels < 1) {
        std::fprintf(stderr, "usage: quavera-compare [--channels N] [--search S] [--length L] [--lowpass F] TEST REFERENCE\n");
        return 2;
    }
    quavera::PcmData test;
    quavera::PcmData ref;
    if (!quavera::readPcm(argv[i], channels, test) || !quavera::readPcm(argv[i + 1], channels, ref)) {
        std::fprintf(stderr, "cannot read %s or %s\n", argv[i], argv[i + 1]);
        return 1;
    }
    if (lowpass > 0) {
        test = quavera::lowPass(test, lowpass);
        ref = quavera::lowPass(ref, lowpass);
    }
    const quavera::PcmDifference best = quavera::comparePcm(test, ref, search, length);
    if (best.frames == 0) {
        std::fprintf(stderr, "nothing to compare (channel counts %d and %d)\n", test.channels, ref.channels);
        return 1;
    }
    std::printf("snr_db: %.2f\nrms_lsb: %.4f\nrms_fs: %.3e\nmax_abs_lsb: %.2f\nshift: %ld\nframes: %zu\n", best.snrDb,
                best.rmsLsb, best.rmsLsb / 32768.0, best.maxAbsLsb, best.shift, best.frames);
    return 0;
}
