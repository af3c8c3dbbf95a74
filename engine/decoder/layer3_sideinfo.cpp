#include "layer3_sideinfo.h"

#include <cstdio>

namespace quavera {

namespace {

void readGranule(BitReader& reader, bool mpeg1, GranuleInfo& g) {
    g.part23Length = reader.read(12);
    g.bigValues = reader.read(9);
    g.globalGain = reader.read(8);
    g.scalefacCompress = reader.read(mpeg1 ? 4 : 9);
    g.windowSwitching = reader.read(1) != 0;
    if (g.windowSwitching) {
        g.blockType = reader.read(2);
        g.mixedBlock = reader.read(1) != 0;
        g.tableSelect[0] = reader.read(5);
        g.tableSelect[1] = reader.read(5);
        g.tableSelect[2] = 0;
        for (unsigned& gain : g.subblockGain) {
            gain = reader.read(3);
        }
        if (g.blockType == 0) {
            std::fputs("Side info bad: block_type == 0 in split block.\n", stdout);
        }
        g.region0Count = g.blockType == 2 && !g.mixedBlock ? 8 : 7;
        g.region1Count = 20 - g.region0Count;
    } else {
        g.blockType = 0;
        g.mixedBlock = false;
        for (unsigned& table : g.tableSelect) {
            table = reader.read(5);
        }
        g.subblockGain[0] = g.subblockGain[1] = g.subblockGain[2] = 0;
        g.region0Count = reader.read(4);
        g.region1Count = reader.read(3);
    }
    g.preflag = mpeg1 && reader.read(1) != 0;
    g.scalefacScale = reader.read(1);
    g.count1TableSelect = reader.read(1);
}

} // namespace

void readSideInfo(BitReader& reader, FrameHeader header, SideInfo& side) {
    const bool mpeg1 = header.id() == 1;
    const int channels = header.channels();
    side.mainDataBegin = reader.read(mpeg1 ? 9 : 8);
    side.privateBits = reader.read(mpeg1 ? (channels == 1 ? 5 : 3) : (channels == 1 ? 1 : 2));
    if (mpeg1) {
        for (int ch = 0; ch < channels; ++ch) {
            for (unsigned& group : side.scfsi[ch]) {
                group = reader.read(1);
            }
        }
    }
    for (int gr = 0; gr < granulesPerFrame(header); ++gr) {
        for (int ch = 0; ch < channels; ++ch) {
            readGranule(reader, mpeg1, side.granule[gr][ch]);
        }
    }
}

int mainDataSlots(FrameHeader header) {
    const int slots = header.frameBytes() - 4 - (header.hasCrc() ? 2 : 0) - sideInfoBytes(header);
    if (slots < 0 || slots > 10000) {
        std::fputs("illegal nSlots\n", stdout);
    }
    return slots;
}

} // namespace quavera
