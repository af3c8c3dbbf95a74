// quavera-decode: stream parameters (--info) or a decode into a WAVE file,
// through the same decoder core the player uses.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "decoder.h"
#include "file_source.h"
#include "wav_file.h"

namespace {

using quavera::Decoder;
using quavera::FileSource;
using quavera::OutputConfig;
using quavera::StreamInfo;

int usage() {
    std::fprintf(stderr, "usage: quavera-decode --info FILE\n"
                         "       quavera-decode [-r 1|2|4] [-q 1|2|3] [-c 1|2] [-b 8|16] [-k plain|avx2|avx512] "
                         "[--gapless] IN OUT.wav\n"
                         "(-k: the kernels' instruction set, by default the widest the processor has;\n"
                         " --gapless: cut the encoder's delay and padding that the information frame gives)\n");
    return 2;
}

// The file name without directory and extension.
std::string titleOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = title.find_last_of('.');
    return dot == std::string::npos ? title : title.substr(0, dot);
}

bool openInput(Decoder& decoder, FileSource& source, const char* path) {
    if (!decoder.bind(&source) || !decoder.openInput(path)) {
        std::fprintf(stderr, "File %s does not exist!\n", source.name());
        return false;
    }
    // As in the engine: an input that ends before it holds a header sets no
    // text of its own, and is simply not an audio file.
    decoder.setLastError("This is not a valid audiofile!");
    return true;
}

int info(const char* path) {
    FileSource source;
    Decoder decoder(8192);
    if (!openInput(decoder, source, path)) {
        return 1;
    }
    StreamInfo s;
    if (!decoder.analyseStream(s)) {
        std::fprintf(stderr, "%s\n", decoder.lastError());
        return 1;
    }
    std::printf("layer: %d\nmpegVersion: %d\nbitratePerChannel: %d\nsamplingFrequency: %d\n"
                "streamRate: %d\noutputRate: %d\nstreamChannels: %d\noutputChannels: %d\n"
                "fileLength: %ld\ntotalTime: %.3f\ncompressionRatio: %.4f\ntitle: %s\n",
                s.layer, s.mpegVersion, s.bitratePerChannel, s.samplingFrequency, s.outputRate * s.frequencyDivisor,
                s.outputRate, s.streamChannels, s.outputChannels, static_cast<long>(s.fileLength),
                static_cast<double>(s.totalTime), static_cast<double>(s.compressionRatio), titleOf(path).c_str());
    if (const quavera::InfoFrame* frame = decoder.infoFrame()) {
        std::printf("infoFrame: %s\nframes: %lu\nbytes: %lu\nseekTable: %zu\n", frame->vbr ? "vbr" : "cbr",
                    static_cast<unsigned long>(frame->frames), static_cast<unsigned long>(frame->bytes),
                    frame->table.size());
        if (frame->gapless) {
            std::printf("encoderDelay: %d\nencoderPadding: %d\n", frame->delay, frame->padding);
        }
    }
    return 0;
}

bool kernels(const char* text, quavera::Simd& simd) {
    const struct {
        const char* name;
        quavera::Simd simd;
    } choices[] = {{"plain", quavera::Simd::Plain}, {"avx2", quavera::Simd::Avx2}, {"avx512", quavera::Simd::Avx512}};
    for (const auto& c : choices) {
        if (std::strcmp(text, c.name) == 0) {
            simd = c.simd;
            return quavera::simdAvailable(simd);
        }
    }
    return false;
}

bool option(const char* text, std::initializer_list<int> allowed, int& value) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    for (int a : allowed) {
        if (*end == '\0' && v == a) {
            value = a;
            return true;
        }
    }
    return false;
}

// Frames decoded into one block before it is written: few large writes.
constexpr std::size_t kFramesPerWrite = 64;

int decode(const OutputConfig& config, quavera::Simd simd, bool gapless, const char* in, const char* out) {
    FileSource source;
    Decoder decoder(16384, 1152, simd);
    decoder.setGapless(gapless);
    if (!openInput(decoder, source, in)) {
        return 1;
    }
    if (!decoder.openStream(config)) {
        std::fprintf(stderr, "%s\n", decoder.lastError());
        return 1;
    }
    std::FILE* file = std::fopen(out, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "Cannot write %s\n", out);
        return 1;
    }
    const StreamInfo& s = decoder.info();
    quavera::WavWriter wav(file, s.outputRate, s.outputChannels, s.bitsPerSample);
    const auto frameBytes = static_cast<std::size_t>(s.pcmBlockSize);
    std::vector<std::uint8_t> block(kFramesPerWrite * frameBytes);
    // Like the engine's blocks, each frame's place starts silent: a frame
    // whose main data is missing writes nothing there.
    const std::uint8_t silence = s.bitsPerSample == 8 ? 0x80 : 0x00;
    for (bool more = true; more;) {
        std::size_t filled = 0;
        // A frame cut by gapless trimming leaves less than its place.
        while (filled + frameBytes <= block.size()) {
            std::uint8_t* frame = block.data() + filled;
            std::fill(frame, frame + frameBytes, silence);
            if (decoder.decodeFrame(frame) == 0) {
                more = false;
                break;
            }
            filled += decoder.lastFrameBytes();
        }
        wav.write(block.data(), filled);
    }
    wav.finish();
    std::fclose(file);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--info") == 0) {
        return info(argv[2]);
    }
    OutputConfig config{1, 1, 2, 16};
    quavera::Simd simd = quavera::Simd::Automatic;
    bool gapless = false;
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] != '\0'; ++i) {
        if (std::strcmp(argv[i], "--gapless") == 0) {
            gapless = true;
            continue;
        }
        bool ok = false;
        const char* value = argv[++i];
        switch (argv[i - 1][2] == '\0' ? argv[i - 1][1] : '\0') {
        case 'r':
            ok = option(value, {1, 2, 4}, config.frequencyDivisor);
            break;
        case 'q':
            ok = option(value, {1, 2, 3}, config.quality);
            break;
        case 'c':
            ok = option(value, {1, 2}, config.channels);
            break;
        case 'b':
            ok = option(value, {8, 16}, config.bitsPerSample);
            break;
        case 'k':
            ok = kernels(value, simd);
            break;
        default:
            break;
        }
        if (!ok) {
            return usage();
        }
    }
    if (argc - i != 2) {
        return usage();
    }
    return decode(config, simd, gapless, argv[i], argv[i + 1]);
}
