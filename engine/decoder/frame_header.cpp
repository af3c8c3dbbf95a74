#include "frame_header.h"

#include "decoder.h"
#include "standard_tables.h"

namespace quavera {

int FrameHeader::bitrateKbps() const {
    const int index = bitrateIndex();
    if (index == 15 || layer() == 0) {
        return 0;
    }
    return tables::kBitrateKbps[id() == 1 ? 0 : 1][layer() - 1][index];
}

int FrameHeader::samplingFrequency() const {
    const int index = frequencyIndex();
    return index == 3 ? 0 : tables::kSamplingFrequencyHz[id() == 1 ? 0 : 1][index];
}

int FrameHeader::frameBytes() const {
    const int kbps = bitrateKbps();
    const int fs = samplingFrequency();
    if (kbps == 0 || fs == 0) {
        return 0;
    }
    // A slot is one byte; an MPEG-2 Layer III frame carries 576 samples.
    const int samples = layer() == 3 && id() == 0 ? 576 : 1152;
    return samples / 8 * kbps * 1000 / fs + (padded() ? 1 : 0);
}

const char* headerRefusal(FrameHeader header) {
    const int layer = header.layer();
    if (layer != 2 && layer != 3) {
        return "This type of audiofile is currently not supported!";
    }
    if (header.bitrateIndex() == 15) {
        return layer == 2 ? "Layer II: Forbidden bitrate used for encoding!"
                          : "Layer III: Forbidden bitrate used for encoding!";
    }
    // Free format gives no frame size to work from; Layer II reports it
    // through its own bitrate check at set-up.
    if (header.frequencyIndex() == 3 || (layer == 3 && header.bitrateIndex() == 0)) {
        return "This is not a valid audiofile!";
    }
    return nullptr;
}

FrameSize frameSizeOf(int streamChannels, int bitratePerChannel, int samplingFrequency) {
    const double exact = static_cast<double>(streamChannels) * bitratePerChannel * 1000.0 * 1152.0 /
                             (static_cast<double>(samplingFrequency) * 8.0) +
                         1.0;
    return FrameSize{static_cast<int>(exact), exact};
}

} // namespace quavera

namespace quavera {

void describeStream(FrameHeader header, const OutputConfig& config, std::int64_t audioBytes, StreamInfo& info) {
    const int fs = header.samplingFrequency();
    const int bitratePerChannel = header.bitratePerChannel();
    info.frequencyDivisor = config.frequencyDivisor;
    info.quality = config.quality;
    info.streamChannels = header.channels();
    info.outputChannels = info.streamChannels == 1 ? 1 : config.channels;
    info.bitsPerSample = config.bitsPerSample;
    info.samplingFrequency = fs;
    info.outputRate = fs / config.frequencyDivisor;
    info.sourceBitsPerSample = 16;
    info.layer = header.layer();
    info.mpegVersion = header.mpegVersion();
    info.samplesPerFrame = 1152;
    info.bitratePerChannel = bitratePerChannel;
    info.compressionRatio = static_cast<float>(16.0 * fs / (bitratePerChannel * 1000.0));
    info.pcmBlockSize =
        info.samplesPerFrame * (info.bitsPerSample / 8) * info.outputChannels / info.frequencyDivisor;
    // No audio bytes (an unknown length, or one that ends within a leading tag): no time either.
    const double totalTime =
        audioBytes > 0 ? static_cast<double>(audioBytes) * 8000.0 / (bitratePerChannel * 1000.0 * info.streamChannels)
                       : 0.0;
    info.totalTime = totalTime == 0.0 ? -1.0f : static_cast<float>(totalTime);
}

} // namespace quavera
