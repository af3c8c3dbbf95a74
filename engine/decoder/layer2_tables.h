#pragma once
// Layer II tables computed once per process: scale factors, requantisation
// constants and the degrouping of three-sample codewords.
#include <array>
#include <cstdint>

namespace quavera {

struct Layer2Tables {
    // Scale factor by index; index 63 is not allowed by the standard and gives 0.
    std::array<float, 64> scaleFactor;
    // Per quantisation class: C / 32768 and 32768 D.
    std::array<float, 17> cScaled;
    std::array<float, 17> dScaled;
    // Per grouped class (else null): for every codeword of the class's width,
    // its three values. Codewords the standard leaves unused split the same
    // way, so no value leaves the class's range.
    std::array<const std::array<std::uint8_t, 3>*, 17> degroup;
    std::array<std::array<std::uint8_t, 3>, 32> degroup3;
    std::array<std::array<std::uint8_t, 3>, 128> degroup5;
    std::array<std::array<std::uint8_t, 3>, 1024> degroup9;
};

const Layer2Tables& layer2Tables();

} // namespace quavera
