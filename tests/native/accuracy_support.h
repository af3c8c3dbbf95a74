#pragma once
// Decodes shared by the accuracy tests: the product decode through the
// Decoder, and a layer's parsing into the model filterbank.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layer_rig.h"
#include "model_synthesis.h"
#include "wav_file.h"

namespace quavera::test {

PcmData fromBytes(const std::vector<std::uint8_t>& pcm, int channels);
std::size_t frames(const PcmData& d);

// A suite of streams encoded at test time, one per parameter: the encoders
// and reference decoder it runs, and a directory for its files that is
// removed at its end. Without the tools its tests fail.
template <class Stream>
class EncodedStreams : public ::testing::TestWithParam<Stream> {
protected:
    static void SetUpTestSuite() {
        for (const char* tool : {"sox", "twolame", "lame", "mpg123"}) {
            if (!haveCommand(tool)) {
                missing_ = tool;
                return;
            }
        }
        dir_ = tempDir("encoded");
    }
    static void TearDownTestSuite() {
        if (!dir_.empty()) {
            std::filesystem::remove_all(dir_);
        }
    }
    void SetUp() override {
        if (!missing_.empty()) {
            // The streams are made at test time: without the tool there is
            // no test data, which is a failure, not a reason to skip.
            GTEST_FAIL() << missing_ << " is not installed (scripts/setup.sh installs it)";
        }
    }
    // Where the files of the stream called name go, without extension.
    static std::string fileBase(const char* name) { return dir_ + "/" + name; }

private:
    static inline std::string missing_;
    static inline std::string dir_;
};

// Divisor 1, 16 bits, the stream's channels. Every frame's place starts
// silent, as in the engine's blocks.
PcmData productDecode(const std::string& path, int quality);

// The product's parsing of one layer into the model filterbank with the
// given window taps and no cutoff.
template <class Layer>
PcmData modelDecode(const std::string& path, int firstTap, int lastTap) {
    LayerRig<Layer> rig(readFile(path));
    EXPECT_EQ(rig.error, "") << path;
    ModelSynthesis model(ModelOptions{1, firstTap, lastTap, false, rig.channels, rig.channels, 16});
    std::vector<std::uint8_t> pcm;
    while (rig.decode() != 0) {
        const auto frame = model.frame(rig.synthesis.subbands(0), rig.synthesis.subbands(1));
        pcm.insert(pcm.end(), frame.begin(), frame.end());
    }
    return fromBytes(pcm, rig.channels);
}

} // namespace quavera::test
