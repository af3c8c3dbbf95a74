#include "wav_file.h"

#include <cstring>

namespace quavera {

namespace {

void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint32_t get32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

} // namespace

WavWriter::WavWriter(std::FILE* file, int rate, int channels, int bits)
    : file_(file), rate_(rate), channels_(channels), bits_(bits) {
    header(0);
}

void WavWriter::header(std::uint32_t dataBytes) {
    std::uint8_t h[44];
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, static_cast<std::uint32_t>(channels_));
    put32(h + 24, static_cast<std::uint32_t>(rate_));
    put32(h + 28, static_cast<std::uint32_t>(rate_ * channels_ * bits_ / 8));
    put16(h + 32, static_cast<std::uint32_t>(channels_ * bits_ / 8));
    put16(h + 34, static_cast<std::uint32_t>(bits_));
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, dataBytes);
    std::fwrite(h, 1, sizeof h, file_);
}

void WavWriter::write(const std::uint8_t* data, std::size_t bytes) {
    std::fwrite(data, 1, bytes, file_);
    dataBytes_ += static_cast<std::uint32_t>(bytes);
}

void WavWriter::finish() {
    if (std::fseek(file_, 0, SEEK_SET) == 0) {
        header(dataBytes_);
    }
    std::fflush(file_);
}

bool readPcm(const std::string& path, int rawChannels, PcmData& pcm) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) {
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    std::fclose(f);
    std::size_t begin = 0;
    std::size_t end = bytes.size();
    pcm.channels = rawChannels;
    pcm.rate = 0;
    int bits = 16;
    if (bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 && std::memcmp(bytes.data() + 8, "WAVE", 4) == 0) {
        std::size_t pos = 12;
        bool found = false;
        while (pos + 8 <= bytes.size()) {
            const std::uint32_t size = get32(bytes.data() + pos + 4);
            if (std::memcmp(bytes.data() + pos, "fmt ", 4) == 0 && pos + 24 <= bytes.size()) {
                pcm.channels = get16(bytes.data() + pos + 10);
                pcm.rate = static_cast<int>(get32(bytes.data() + pos + 12));
                bits = get16(bytes.data() + pos + 22);
                if (bits != 16 && bits != 24) {
                    return false;
                }
            } else if (std::memcmp(bytes.data() + pos, "data", 4) == 0) {
                begin = pos + 8;
                // Writers that cannot seek back leave the size at 0.
                end = size != 0 && begin + size <= bytes.size() ? begin + size : bytes.size();
                found = true;
                break;
            }
            pos += 8 + size + (size & 1);
        }
        if (!found) {
            return false;
        }
    }
    const std::size_t width = static_cast<std::size_t>(bits / 8);
    pcm.samples.resize((end - begin) / width);
    for (std::size_t i = 0; i < pcm.samples.size(); ++i) {
        const std::uint8_t* p = bytes.data() + begin + width * i;
        // A 24-bit sample read as the top three bytes of a 32-bit word.
        pcm.samples[i] = bits == 16 ? static_cast<std::int16_t>(get16(p))
                                    : static_cast<std::int32_t>(get32(p - 1) & 0xFFFFFF00u) / 65536.0;
    }
    return true;
}

} // namespace quavera
