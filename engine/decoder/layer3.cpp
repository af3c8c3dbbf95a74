#include "layer3.h"

#include <algorithm>
#include <cstdio>

#include "frame_sync.h"
#include "huffman.h"
#include "layer3_requantise.h"
#include "layer3_stereo.h"

namespace quavera {

namespace {

// Unread input below which a frame call refills first.
constexpr std::size_t kInputReserve = 1152;
// Main data of one frame is never this long; such a count comes from a damaged header.
constexpr int kMaxSlots = 2048;

SpectrumFields spectrumFields(const GranuleInfo& g, const BandLayout& bands) {
    SpectrumFields f;
    f.part23Length = g.part23Length;
    f.bigValues = g.bigValues;
    std::copy(g.tableSelect, g.tableSelect + 3, f.tableSelect);
    f.count1TableSelect = g.count1TableSelect;
    if (g.shortBlocks()) {
        f.region1Start = 36;
        f.region2Start = 576;
    } else {
        // Damaged counts may point past the band table: the region then
        // reaches the granule's end.
        f.region1Start = static_cast<unsigned>(bands.longBands[std::min(g.region0Count + 1, 22u)]);
        f.region2Start = static_cast<unsigned>(bands.longBands[std::min(g.region0Count + g.region1Count + 2, 22u)]);
    }
    return f;
}

} // namespace

std::string Layer3Decoder::setup(FrameHeader first) {
    mpeg1_ = first.id() == 1;
    huffmanTables();
    requantTables();
    reset();
    return {};
}

void Layer3Decoder::reset() {
    reservoir_.reset();
    frameStart_ = 0;
    side_ = {};
    scaleFactors_ = {};
    hybrid_.reset();
}

std::uint32_t Layer3Decoder::decodeFrame(FrameContext& context, std::uint8_t* out) {
    BitStream& stream = context.stream;
    int framesLeft = mpeg1_ ? 1 : 2;
    int slot = 0;
    while (framesLeft > 0) {
        if (!stream.ensure(kInputReserve)) {
            std::fputs("EOF#1\n", stdout);
            return 0;
        }
        if (stream.unread() < kInputReserve && !stream.refill()) {
            std::fputs("EOF#2\n", stdout);
            return 0;
        }
        FrameHeader header;
        if (!syncFrame(stream, context.state, header)) {
            if (slot == 0 || !finishLoneFrame_) {
                return 0;
            }
            for (int ch = 0; ch < 2; ++ch) {
                std::fill_n(context.synthesis.subbands(ch) + 32 * slot, 32 * (Synthesis::kSlotsPerFrame - slot), 0.0f);
            }
            break;
        }
        readSideInfo(stream.reader(), header, side_);
        const int slots = mainDataSlots(header);
        if (reservoir_.unread() < 0) {
            std::fputs("error: bytes in buffer < 0\n", stdout);
            reservoir_.reset();
            frameStart_ = 0;
        }
        if (slots < 1 || slots >= kMaxSlots) {
            std::fputs("resync\n", stdout);
            continue;
        }
        const auto count = static_cast<std::size_t>(slots);
        if (!stream.ensure(count)) {
            return 0;
        }
        reservoir_.append(stream.data(), count);
        stream.skipBytes(count);

        const std::int64_t mainDataEnd = reservoir_.alignToByte();
        const std::int64_t discard = frameStart_ - mainDataEnd - side_.mainDataBegin;
        frameStart_ += slots;
        if (discard < 0) {
            // The frame's main data began before the first byte received.
            return context.state.frameCounter++;
        }
        if (discard > reservoir_.unread()) {
            std::printf("err1 %d,%d\n", static_cast<int>(discard), static_cast<int>(reservoir_.unread()));
            reservoir_.dropUnread();
            frameStart_ = reservoir_.alignToByte();
            return context.state.frameCounter++;
        }
        reservoir_.discard(discard);
        decodeGranules(header, context.synthesis, slot);
        slot += 18 * granulesPerFrame(header);
        --framesLeft;
    }
    context.synthesis.synthesizeFrame(out);
    return context.state.frameCounter++;
}

void Layer3Decoder::decodeGranules(FrameHeader header, Synthesis& synthesis, int slot) {
    const BandLayout bands = bandLayout(header);
    const int channels = header.channels();
    StereoMode stereo;
    stereo.mpeg1 = mpeg1_;
    stereo.midSide = header.mode() == 1 && (header.modeExtension() & 2) != 0;
    stereo.intensity = header.mode() == 1 && (header.modeExtension() & 1) != 0;
    BitReader& reader = reservoir_.reader();
    const std::uint8_t* base = reservoir_.base();
    const auto position = [&] { return (reader.ptr - base) * 8 + reader.bit; };
    for (int gr = 0; gr < granulesPerFrame(header); ++gr) {
        // The scale factors of each channel, then the Huffman data of both
        // side by side: a channel's data begin where the previous one's end.
        SpectrumJob jobs[2];
        for (int ch = 0; ch < channels; ++ch) {
            const GranuleInfo& g = side_.granule[gr][ch];
            const std::int64_t part2Start = position();
            if (mpeg1_) {
                readScaleFactorsMpeg1(reader, g, side_.scfsi[ch], gr, scaleFactors_[static_cast<std::size_t>(ch)]);
            } else {
                readScaleFactorsLsf(reader, g, ch == 1 && stereo.intensity, bands,
                                    scaleFactors_[static_cast<std::size_t>(ch)]);
            }
            jobs[ch] = SpectrumJob{part2Start, position(), spectrumFields(g, bands),
                                   quantised_[static_cast<std::size_t>(ch)].data(), 0};
            const std::int64_t end = part2Start + g.part23Length;
            reader = readerAt(base, static_cast<std::uint64_t>(end));
        }
        decodeGranuleSpectra(base, jobs, channels);
        unsigned nonzero[2] = {0, 0};
        for (int ch = 0; ch < channels; ++ch) {
            nonzero[ch] = jobs[ch].nonzero;
            requantise(jobs[ch].lines, nonzero[ch], side_.granule[gr][ch], scaleFactors_[static_cast<std::size_t>(ch)],
                       bands, spectrum_[static_cast<std::size_t>(ch)].data());
        }
        if (channels == 2 && (stereo.midSide || stereo.intensity)) {
            processStereo(spectrum_[0].data(), spectrum_[1].data(), stereo, side_.granule[gr][1], scaleFactors_[1],
                          bands, nonzero);
        }
        for (int ch = 0; ch < channels; ++ch) {
            hybrid_.process(ch, spectrum_[static_cast<std::size_t>(ch)].data(), nonzero[ch], side_.granule[gr][ch],
                            bands, synthesis.subbands(ch), slot + 18 * gr);
        }
    }
}

} // namespace quavera
