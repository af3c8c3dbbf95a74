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
                         "       quavera-decode [-r 1|2|4] [-q 1|2|3] [-c 1|2] [-b 8|16] IN OUT.wav\n");
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
    return 0;
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

int decode(const OutputConfig& config, const char* in, const char* out) {
    FileSource source;
    Decoder decoder;
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
    std::vector<std::uint8_t> block(static_cast<std::size_t>(s.pcmBlockSize));
    // Like the engine's blocks, each frame's place starts silent: a frame
    // whose main data is missing writes nothing there.
    const std::uint8_t silence = s.bitsPerSample == 8 ? 0x80 : 0x00;
    for (;;) {
        std::fill(block.begin(), block.end(), silence);
        if (decoder.decodeFrame(block.data()) == 0) {
            break;
        }
        wav.write(block.data(), block.size());
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
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] != '\0' && argv[i][2] == '\0'; i += 2) {
        bool ok = false;
        switch (argv[i][1]) {
        case 'r':
            ok = option(argv[i + 1], {1, 2, 4}, config.frequencyDivisor);
            break;
        case 'q':
            ok = option(argv[i + 1], {1, 2, 3}, config.quality);
            break;
        case 'c':
            ok = option(argv[i + 1], {1, 2}, config.channels);
            break;
        case 'b':
            ok = option(argv[i + 1], {8, 16}, config.bitsPerSample);
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
    return decode(config, argv[i], argv[i + 1]);
}
