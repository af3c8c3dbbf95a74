#include "gapless_trim.h"

#include <algorithm>
#include <cstring>

namespace quavera {

void GaplessTrim::set(std::int64_t begin, std::int64_t end) {
    active_ = true;
    endKnown_ = true;
    begin_ = begin;
    end_ = end;
    position_ = 0;
}

void GaplessTrim::moveTo(std::int64_t position, bool exact) {
    position_ = position;
    endKnown_ = endKnown_ && exact;
}

void GaplessTrim::endInNextCall(std::int64_t keep) {
    end_ = position_ + keep;
    endKnown_ = true;
}

std::size_t GaplessTrim::apply(std::uint8_t* pcm, std::size_t bytes, int divisor, std::size_t sampleBytes) {
    const std::int64_t start = position_;
    position_ += kCallSamples;
    const std::int64_t from = std::clamp<std::int64_t>(begin_ - start, 0, kCallSamples) / divisor;
    const std::int64_t to = (endKnown_ ? std::clamp<std::int64_t>(end_ - start, 0, kCallSamples) : kCallSamples) / divisor;
    if (from >= to) {
        return 0;
    }
    const std::size_t kept = std::min(static_cast<std::size_t>(to - from) * sampleBytes, bytes);
    if (from > 0) {
        std::memmove(pcm, pcm + static_cast<std::size_t>(from) * sampleBytes, kept);
    }
    return kept;
}

} // namespace quavera
