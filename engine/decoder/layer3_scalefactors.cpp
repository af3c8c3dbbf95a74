#include "layer3_scalefactors.h"

#include <algorithm>

#include "layer3_tables.h"

namespace quavera {

namespace {

// Scale factors of length 0 read nothing (the reader cannot take 0 bits).
std::uint8_t readScale(BitReader& reader, unsigned bits) {
    return static_cast<std::uint8_t>(bits != 0 ? reader.read(bits) : 0u);
}

} // namespace

BandLayout bandLayout(FrameHeader header) {
    const std::size_t index = static_cast<std::size_t>((header.id() == 1 ? 0 : 3) + header.frequencyIndex() % 3);
    const auto& longBands = tables::kLongBands[index];
    const auto mixed = std::find(longBands.begin(), longBands.end(), 36) - longBands.begin();
    return BandLayout{longBands.data(), tables::kShortBands[index].data(), static_cast<int>(mixed)};
}

void readScaleFactorsMpeg1(BitReader& reader, const GranuleInfo& g, const unsigned* scfsi, int granule,
                           ScaleFactors& sf) {
    const unsigned slen1 = tables::kSlenMpeg1[g.scalefacCompress & 15][0];
    const unsigned slen2 = tables::kSlenMpeg1[g.scalefacCompress & 15][1];
    sf.preflag = g.preflag;
    if (g.shortBlocks()) {
        int firstShort = 0;
        if (g.mixedBlock) {
            for (int sfb = 0; sfb < 8; ++sfb) {
                sf.l[sfb] = readScale(reader, slen1);
            }
            firstShort = 3;
        }
        for (int sfb = firstShort; sfb < 12; ++sfb) {
            for (auto& window : sf.s[sfb]) {
                window = readScale(reader, sfb < 6 ? slen1 : slen2);
            }
        }
        sf.s[12] = {};
        return;
    }
    static constexpr int kGroupStart[5] = {0, 6, 11, 16, 21};
    for (int group = 0; group < 4; ++group) {
        if (granule != 0 && scfsi[group] != 0) {
            continue;
        }
        for (int sfb = kGroupStart[group]; sfb < kGroupStart[group + 1]; ++sfb) {
            sf.l[sfb] = readScale(reader, group < 2 ? slen1 : slen2);
        }
    }
    sf.l[21] = 0;
}

namespace {

// The partition lengths and block number of ISO/IEC 13818-3 by
// scalefac_compress.
struct LsfLengths {
    int blockNumber;
    unsigned slen[4];
};

LsfLengths lsfLengths(unsigned sfc, bool intensityChannel) {
    if (intensityChannel) {
        const unsigned i = sfc >> 1;
        if (i < 180) {
            return {3, {i / 36, i % 36 / 6, i % 36 % 6, 0}};
        }
        if (i < 244) {
            return {4, {(i - 180) % 64 >> 4, (i - 180) % 16 >> 2, (i - 180) % 4, 0}};
        }
        return {5, {(i - 244) / 3, (i - 244) % 3, 0, 0}};
    }
    if (sfc < 400) {
        return {0, {(sfc >> 4) / 5, (sfc >> 4) % 5, sfc % 16 >> 2, sfc % 4}};
    }
    if (sfc < 500) {
        return {1, {((sfc - 400) >> 2) / 5, ((sfc - 400) >> 2) % 5, (sfc - 400) % 4, 0}};
    }
    return {2, {(sfc - 500) / 3, (sfc - 500) % 3, 0, 0}};
}

} // namespace

void readScaleFactorsLsf(BitReader& reader, const GranuleInfo& g, bool intensityChannel, const BandLayout& bands,
                         ScaleFactors& sf) {
    const LsfLengths lengths = lsfLengths(g.scalefacCompress, intensityChannel);
    const int blockType = g.shortBlocks() ? (g.mixedBlock ? 2 : 1) : 0;
    const auto& counts = tables::kLsfBandsPerPartition[static_cast<std::size_t>(lengths.blockNumber)]
                                                      [static_cast<std::size_t>(blockType)];
    std::uint8_t values[39] = {};
    std::uint8_t maxima[39] = {};
    int k = 0;
    for (int part = 0; part < 4; ++part) {
        for (int n = 0; n < counts[part]; ++n, ++k) {
            values[k] = readScale(reader, lengths.slen[part]);
            maxima[k] = static_cast<std::uint8_t>((1u << lengths.slen[part]) - 1u);
        }
    }
    sf.preflag = lengths.blockNumber == 2;
    sf.intensityScale = g.scalefacCompress & 1;
    sf.l.fill(0);
    sf.lMax.fill(0);
    for (auto& band : sf.s) {
        band = {};
    }
    sf.sMax.fill(0);
    k = 0;
    int firstShort = 0;
    if (blockType != 1) {
        const int longBands = blockType == 0 ? 21 : bands.mixedLongBands;
        for (int sfb = 0; sfb < longBands; ++sfb, ++k) {
            sf.l[sfb] = values[k];
            sf.lMax[sfb] = maxima[k];
        }
        firstShort = blockType == 0 ? 12 : 3;
    }
    for (int sfb = firstShort; sfb < 12; ++sfb) {
        for (auto& window : sf.s[sfb]) {
            window = values[k];
            sf.sMax[sfb] = maxima[k++];
        }
    }
    // The last bands carry no scale factor; intensity positions there follow
    // the band below.
    sf.lMax[21] = sf.lMax[20];
    sf.sMax[12] = sf.sMax[11];
}

} // namespace quavera
