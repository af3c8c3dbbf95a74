#pragma once
// Layer III joint stereo: mid/side and intensity stereo (MPEG-1 and the
// lower sampling frequencies) over the two requantised channels of a granule.
#include "layer3_scalefactors.h"
#include "layer3_sideinfo.h"

namespace quavera {

struct StereoMode {
    bool midSide = false;
    bool intensity = false;
    bool mpeg1 = true;
};

// right and rightSf are the second channel's granule and scale factors (they
// decide the intensity positions). nonzero holds the lines per channel that
// may be non-zero; both become the larger of the two afterwards.
void processStereo(float* left, float* right, StereoMode mode, const GranuleInfo& rightGranule,
                   const ScaleFactors& rightSf, const BandLayout& bands, unsigned* nonzero);

} // namespace quavera
