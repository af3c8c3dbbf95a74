#include "layer2.h"

#include <algorithm>

#include "frame_sync.h"
#include "layer2_tables.h"

namespace quavera {

namespace {

// The most one frame can read: header, CRC, four allocation bits, scfsi and
// three scale factors for 32 subbands of two channels, 16-bit samples, and
// the eight bytes a read loads.
constexpr std::size_t kMaxFrameBytes = 4 + 2 + (32 * 2 * (4 + 2 + 18) + 12 * 32 * 2 * 3 * 16) / 8 + 8;

} // namespace

const tables::AllocTable* chooseAllocTable(int mpegVersion, int bitratePerChannel, int samplingFrequency) {
    using namespace tables;
    if (bitratePerChannel == 0) {
        return nullptr;
    }
    if (mpegVersion == 2) {
        return &kAllocTables[kTableLsf];
    }
    switch (bitratePerChannel) {
    case 32:
    case 48:
        return &kAllocTables[samplingFrequency == 32000 ? kTable2d : kTable2c];
    case 56:
    case 64:
    case 80:
        return &kAllocTables[kTable2a];
    case 96:
    case 112:
    case 128:
    case 160:
    case 192:
        return &kAllocTables[samplingFrequency == 48000 ? kTable2a : kTable2b];
    default:
        return nullptr;
    }
}

std::string Layer2Decoder::setup(FrameHeader first) {
    table_ = chooseAllocTable(first.mpegVersion(), first.bitratePerChannel(), first.samplingFrequency());
    if (table_ == nullptr) {
        return "Layer II: Bitrate " + std::to_string(first.bitratePerChannel()) + " not supported!\n";
    }
    layer2Tables();
    reset();
    return {};
}

void Layer2Decoder::reset() {
    allocation_ = {};
    scfsi_ = {};
    scale_ = {};
}

std::uint32_t Layer2Decoder::decodeFrame(FrameContext& context, std::uint8_t* out) {
    FrameHeader header;
    if (!syncFrame(context.stream, context.state, header)) {
        return 0;
    }
    // A frame whose allocation asks for more data than it holds reads on into
    // what follows; that must stay inside the buffer.
    context.stream.makeRoom(kMaxFrameBytes);
    BitReader reader = context.stream.reader();
    readFrame(reader, header, context.synthesis);
    context.stream.reader() = reader;
    context.synthesis.synthesizeFrame(out);
    return context.state.frameCounter++;
}

inline void Layer2Decoder::readGranule(const std::uint8_t* base, std::uint64_t& pos, const Quantizer& q,
                                       float* values) {
    // At most three 16-bit codewords: all within one load.
    const std::uint64_t bits = bitsAt(base, pos);
    std::uint32_t v[3];
    if (q.degroup != nullptr) {
        const auto& split = q.degroup[bits >> (64 - q.bits)];
        v[0] = split[0];
        v[1] = split[1];
        v[2] = split[2];
        pos += q.bits;
    } else {
        for (unsigned i = 0; i < 3; ++i) {
            v[i] = static_cast<std::uint32_t>(bits << (i * q.bits) >> (64 - q.bits));
        }
        pos += 3 * q.bits;
    }
    for (int i = 0; i < 3; ++i) {
        const auto word = static_cast<std::int16_t>((v[i] << q.shift) ^ 0x8000u);
        values[i] = (static_cast<float>(word) + q.d) * q.c;
    }
}

void Layer2Decoder::readFrame(BitReader& reader, FrameHeader header, Synthesis& synthesis) {
    const Layer2Tables& t = layer2Tables();
    const int channels = header.channels();
    const int sblimit = table_->sblimit;
    const int bound = header.mode() == 1 ? std::min(4 * (header.modeExtension() + 1), sblimit) : sblimit;

    for (int sb = 0; sb < sblimit; ++sb) {
        const unsigned nbal = table_->nbal[sb];
        if (sb < bound) {
            for (int ch = 0; ch < channels; ++ch) {
                allocation_[ch][sb] = static_cast<int>(reader.read(nbal));
            }
        } else {
            allocation_[0][sb] = allocation_[1][sb] = static_cast<int>(reader.read(nbal));
        }
    }
    for (int ch = 0; ch < channels; ++ch) {
        for (int sb = 0; sb < sblimit; ++sb) {
            const int allocation = allocation_[ch][sb];
            if (allocation == 0) {
                continue;
            }
            const int quantClass = table_->quantClass[sb][allocation];
            const tables::QuantClass& cls = tables::kQuantClasses[quantClass];
            quantizer_[ch][sb] = Quantizer{cls.grouped ? t.degroup[quantClass] : nullptr, cls.bits,
                                           16u - cls.valueBits, t.dScaled[quantClass], t.cScaled[quantClass]};
        }
    }
    for (int sb = 0; sb < sblimit; ++sb) {
        for (int ch = 0; ch < channels; ++ch) {
            if (allocation_[ch][sb] != 0) {
                scfsi_[ch][sb] = static_cast<std::uint8_t>(reader.read(2));
            }
        }
    }
    for (int sb = 0; sb < sblimit; ++sb) {
        for (int ch = 0; ch < channels; ++ch) {
            if (allocation_[ch][sb] == 0) {
                continue;
            }
            auto& parts = scale_[ch][sb];
            switch (scfsi_[ch][sb]) {
            case 0:
                parts[0] = t.scaleFactor[reader.read(6)];
                parts[1] = t.scaleFactor[reader.read(6)];
                parts[2] = t.scaleFactor[reader.read(6)];
                break;
            case 1:
                parts[0] = parts[1] = t.scaleFactor[reader.read(6)];
                parts[2] = t.scaleFactor[reader.read(6)];
                break;
            case 2:
                parts[0] = parts[1] = parts[2] = t.scaleFactor[reader.read(6)];
                break;
            default:
                parts[0] = t.scaleFactor[reader.read(6)];
                parts[1] = parts[2] = t.scaleFactor[reader.read(6)];
                break;
            }
        }
    }

    // The subbands read, in the frame's order; the others stay silent.
    int count = 0;
    const auto slotZero = [&](int ch, int sb) { return synthesis.subbands(ch) + sb; };
    for (int sb = 0; sb < sblimit; ++sb) {
        if (sb < bound) {
            for (int ch = 0; ch < channels; ++ch) {
                if (allocation_[ch][sb] != 0) {
                    coded_[count++] = CodedSubband{&quantizer_[ch][sb], 1, {slotZero(ch, sb)}, {scale_[ch][sb].data()}};
                }
            }
        } else if (allocation_[0][sb] != 0) {
            // Above the bound both channels share one set of samples, each
            // with its own scale factors.
            CodedSubband& c = coded_[count++];
            c = CodedSubband{&quantizer_[0][sb], channels, {}, {}};
            for (int ch = 0; ch < channels; ++ch) {
                c.out[ch] = slotZero(ch, sb);
                c.scale[ch] = scale_[ch][sb].data();
            }
        }
    }
    for (int ch = 0; ch < channels; ++ch) {
        std::fill_n(synthesis.subbands(ch), Synthesis::kSlotsPerFrame * 32, 0.0f);
    }
    const std::uint8_t* base = reader.ptr;
    std::uint64_t pos = reader.bit;
    for (int granule = 0; granule < 12; ++granule) {
        const int part = granule / 4;
        const int slot = 32 * 3 * granule;
        for (int i = 0; i < count; ++i) {
            const CodedSubband& c = coded_[i];
            float values[3];
            readGranule(base, pos, *c.quantizer, values);
            for (int o = 0; o < c.outputs; ++o) {
                const float scale = c.scale[o][part];
                for (int v = 0; v < 3; ++v) {
                    c.out[o][slot + 32 * v] = values[v] * scale;
                }
            }
        }
    }
    reader = readerAt(base, pos);
}

} // namespace quavera
