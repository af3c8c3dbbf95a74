#include "layer3_writer.h"

#include "standard_tables.h"

namespace quavera::test {

std::size_t layer3FrameBytes(const HeaderFields& h) {
    const int kbps = tables::kBitrateKbps[h.id == 1 ? 0 : 1][2][h.bitrateIndex];
    const int fs = tables::kSamplingFrequencyHz[h.id == 1 ? 0 : 1][h.frequencyIndex];
    return static_cast<std::size_t>((h.id == 1 ? 144000 : 72000) * kbps / fs + h.padding);
}

namespace {

void putGranule(BitWriter& w, bool mpeg1, const GranuleInfo& g) {
    w.put(g.part23Length, 12);
    w.put(g.bigValues, 9);
    w.put(g.globalGain, 8);
    w.put(g.scalefacCompress, mpeg1 ? 4 : 9);
    w.put(g.windowSwitching ? 1 : 0, 1);
    if (g.windowSwitching) {
        w.put(g.blockType, 2);
        w.put(g.mixedBlock ? 1 : 0, 1);
        w.put(g.tableSelect[0], 5);
        w.put(g.tableSelect[1], 5);
        for (unsigned gain : g.subblockGain) {
            w.put(gain, 3);
        }
    } else {
        for (unsigned table : g.tableSelect) {
            w.put(table, 5);
        }
        w.put(g.region0Count, 4);
        w.put(g.region1Count, 3);
    }
    if (mpeg1) {
        w.put(g.preflag ? 1 : 0, 1);
    }
    w.put(g.scalefacScale, 1);
    w.put(g.count1TableSelect, 1);
}

} // namespace

Bytes layer3Frame(Layer3Frame frame) {
    HeaderFields& h = frame.header;
    h.layer = 3;
    const bool mpeg1 = h.id == 1;
    const int channels = h.mode == 3 ? 1 : 2;
    BitWriter w;
    putHeader(w, h);
    w.put(frame.side.mainDataBegin, mpeg1 ? 9 : 8);
    w.put(frame.side.privateBits, mpeg1 ? (channels == 1 ? 5 : 3) : (channels == 1 ? 1 : 2));
    if (mpeg1) {
        for (int ch = 0; ch < channels; ++ch) {
            for (unsigned group : frame.side.scfsi[ch]) {
                w.put(group, 1);
            }
        }
    }
    for (int gr = 0; gr < (mpeg1 ? 2 : 1); ++gr) {
        for (int ch = 0; ch < channels; ++ch) {
            putGranule(w, mpeg1, frame.side.granule[gr][ch]);
        }
    }
    Bytes bytes = w.bytes();
    const std::size_t total = layer3FrameBytes(h);
    frame.mainData.resize(total > bytes.size() ? total - bytes.size() : 0, 0);
    bytes.insert(bytes.end(), frame.mainData.begin(), frame.mainData.end());
    return bytes;
}

GranuleInfo longGranule(const BitWriter& data, unsigned bigValues, unsigned table, unsigned globalGain) {
    GranuleInfo g;
    g.part23Length = static_cast<unsigned>(data.bitCount());
    g.bigValues = bigValues;
    g.globalGain = globalGain;
    g.tableSelect[0] = g.tableSelect[1] = g.tableSelect[2] = table;
    g.region0Count = 15;
    g.region1Count = 7;
    return g;
}

} // namespace quavera::test
