#include "layer3.h"

namespace quavera {

std::string Layer3Decoder::setup(FrameHeader) {
    reset();
    return {};
}

void Layer3Decoder::reset() {}

std::uint32_t Layer3Decoder::decodeFrame(FrameContext&, std::uint8_t*) {
    return 0;
}

} // namespace quavera
