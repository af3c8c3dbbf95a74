#pragma once
// Cuts what the encoder added around the signal out of a file's decoded PCM:
// its delay at the start and its padding at the end, to the sample, so that
// consecutive files of one recording join without a gap.
#include <cstddef>
#include <cstdint>

namespace quavera {

class GaplessTrim {
public:
    // Decoded samples (at the stream's rate) per frame call.
    static constexpr std::int64_t kCallSamples = 1152;

    // Nothing is cut.
    void clear() { active_ = false; }
    // The file's signal is decoded samples [begin, end); the next call
    // decodes the file's first samples.
    void set(std::int64_t begin, std::int64_t end);
    // The next call decodes from sample position on (after a seek); when the
    // position is only estimated, the end is not cut.
    void moveTo(std::int64_t position, bool exact);
    // Where the end is not known (after an estimated position): the next
    // call decodes the last frame, of whose samples the first keep are signal.
    void endInNextCall(std::int64_t keep);
    bool active() const { return active_; }
    bool endKnown() const { return endKnown_; }

    // Keeps the part of one call's PCM (bytes long, one sample of all
    // channels sampleBytes long, downsampled by divisor) that belongs to the
    // signal, moved to the front. Returns its bytes.
    std::size_t apply(std::uint8_t* pcm, std::size_t bytes, int divisor, std::size_t sampleBytes);

private:
    bool active_ = false;
    bool endKnown_ = false;
    std::int64_t begin_ = 0;
    std::int64_t end_ = 0;
    std::int64_t position_ = 0;
};

} // namespace quavera
