#pragma once
// Layer III side information (MPEG-1 and the lower sampling frequencies) and
// the number of main-data bytes a frame carries.
#include <cstdint>

#include "bitstream.h"
#include "frame_header.h"

namespace quavera {

struct GranuleInfo {
    unsigned part23Length = 0;
    unsigned bigValues = 0;
    unsigned globalGain = 0;
    unsigned scalefacCompress = 0;
    bool windowSwitching = false;
    unsigned blockType = 0;
    bool mixedBlock = false;
    unsigned tableSelect[3] = {};
    unsigned subblockGain[3] = {};
    unsigned region0Count = 0;
    unsigned region1Count = 0;
    bool preflag = false;
    unsigned scalefacScale = 0;
    unsigned count1TableSelect = 0;

    bool shortBlocks() const { return windowSwitching && blockType == 2; }
    bool mixed() const { return shortBlocks() && mixedBlock; }
};

struct SideInfo {
    unsigned mainDataBegin = 0;
    unsigned privateBits = 0;
    unsigned scfsi[2][4] = {};
    GranuleInfo granule[2][2]; // [granule][channel]
};

// One granule per frame at the lower sampling frequencies, two for MPEG-1.
inline int granulesPerFrame(FrameHeader header) {
    return header.id() == 1 ? 2 : 1;
}

// Bytes of side information after the header (and CRC word).
inline int sideInfoBytes(FrameHeader header) {
    const bool mono = header.channels() == 1;
    return header.id() == 1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
}

// Reads the side information that follows the header (and CRC word).
void readSideInfo(BitReader& reader, FrameHeader header, SideInfo& side);

// Main-data bytes of the frame; prints "illegal nSlots\n" when the result
// is out of any sane range.
int mainDataSlots(FrameHeader header);

} // namespace quavera
