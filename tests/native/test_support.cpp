#include "test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include <unistd.h>

#include "frame_header.h"
#include "layer2.h"
#include "standard_tables.h"

namespace quavera::test {

void BitWriter::put(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        if (bitsUsed_ == 8) {
            bytes_.push_back(0);
            bitsUsed_ = 0;
        }
        const auto bit = static_cast<std::uint8_t>((value >> i) & 1u);
        bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | bit << (7 - bitsUsed_));
        ++bitsUsed_;
    }
}

void BitWriter::padToBytes(std::size_t bytes) {
    bytes_.resize(bytes, 0);
    bitsUsed_ = 8;
}

std::uint32_t headerWord(const HeaderFields& h) {
    const std::uint32_t layerField = h.layer == 0 ? 0u : static_cast<std::uint32_t>(4 - h.layer);
    return 0xFFFu << 20 | static_cast<std::uint32_t>(h.id) << 19 | layerField << 17 | (h.crc ? 0u : 1u) << 16 |
           static_cast<std::uint32_t>(h.bitrateIndex) << 12 | static_cast<std::uint32_t>(h.frequencyIndex) << 10 |
           static_cast<std::uint32_t>(h.padding) << 9 | static_cast<std::uint32_t>(h.privateBit) << 8 |
           static_cast<std::uint32_t>(h.mode) << 6 | static_cast<std::uint32_t>(h.modeExtension) << 4 |
           static_cast<std::uint32_t>(h.copyright) << 3 | static_cast<std::uint32_t>(h.original) << 2 |
           static_cast<std::uint32_t>(h.emphasis);
}

void putHeader(BitWriter& w, const HeaderFields& h) {
    w.put(headerWord(h), 32);
    if (h.crc) {
        w.put(0, 16);
    }
}

std::size_t frameBytes(const HeaderFields& h) {
    const int kbps = tables::kBitrateKbps[h.id == 1 ? 0 : 1][h.layer - 1][h.bitrateIndex];
    const int fs = tables::kSamplingFrequencyHz[h.id == 1 ? 0 : 1][h.frequencyIndex];
    return static_cast<std::size_t>(144 * kbps * 1000 / fs + h.padding);
}

Bytes layer2Frame(const HeaderFields& h, const std::function<void(BitWriter&)>& body) {
    BitWriter w;
    putHeader(w, h);
    body(w);
    w.padToBytes(frameBytes(h));
    return w.bytes();
}

Bytes simpleLayer2Frame(const HeaderFields& h, int subbands, int scale) {
    const FrameHeader header = FrameHeader::fromWord(headerWord(h));
    const int channels = header.channels();
    const tables::AllocTable* chosen =
        chooseAllocTable(header.mpegVersion(), header.bitratePerChannel(), header.samplingFrequency());
    if (chosen == nullptr) { // a stream the decoder refuses: any body will do
        chosen = &tables::kAllocTables[tables::kTable2a];
        subbands = 0;
    }
    const tables::AllocTable& table = *chosen;
    subbands = std::min(subbands, table.sblimit);
    return layer2Frame(h, [&](BitWriter& w) {
        for (int sb = 0; sb < table.sblimit; ++sb) {
            for (int ch = 0; ch < channels; ++ch) {
                w.put(sb < subbands ? 1u : 0u, table.nbal[sb]);
            }
        }
        for (int sb = 0; sb < subbands; ++sb) {
            for (int ch = 0; ch < channels; ++ch) {
                w.put(2, 2); // one scale factor for the whole frame
            }
        }
        for (int sb = 0; sb < subbands; ++sb) {
            for (int ch = 0; ch < channels; ++ch) {
                w.put(static_cast<std::uint32_t>(scale), 6);
            }
        }
        for (int g = 0; g < 12; ++g) {
            for (int sb = 0; sb < subbands; ++sb) {
                // Top, bottom, top value of the class: a loud alternating pattern.
                const auto& cls = tables::kQuantClasses[table.quantClass[sb][1]];
                const auto top = static_cast<std::uint32_t>(cls.steps - 1);
                for (int ch = 0; ch < channels; ++ch) {
                    if (cls.grouped) {
                        w.put(top + top * static_cast<std::uint32_t>(cls.steps * cls.steps), cls.bits);
                    } else {
                        w.put(top, cls.bits);
                        w.put(0, cls.bits);
                        w.put(top, cls.bits);
                    }
                }
            }
        }
    });
}

Bytes concat(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

Bytes repeat(const Bytes& part, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

bool haveCommand(const char* name) {
    return run(std::string("command -v ") + name + " >/dev/null 2>&1");
}

std::string tempDir(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("quavera-" + name + "-" + std::to_string(static_cast<long>(::getpid())));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

namespace {

std::string existing(std::string path) {
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << "missing test data: " << path;
    return path;
}

} // namespace

std::string conformance(const std::string& relative) {
    return existing(std::string(QUAVERA_CONFORMANCE_DIR) + "/" + relative);
}

std::string standardTable(const std::string& name) {
    return existing(std::string(QUAVERA_TABLES_DIR) + "/" + name);
}

Bytes readFile(const std::string& path) {
    Bytes data;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        ADD_FAILURE() << "cannot read " << path;
        return data;
    }
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) {
        data.insert(data.end(), chunk, chunk + n);
    }
    std::fclose(f);
    return data;
}

} // namespace quavera::test
