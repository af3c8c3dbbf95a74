#include "accuracy_support.h"

#include <algorithm>

#include "decoder.h"
#include "file_source.h"

namespace quavera::test {

PcmData fromBytes(const std::vector<std::uint8_t>& pcm, int channels) {
    PcmData d;
    d.channels = channels;
    d.samples.resize(pcm.size() / 2);
    for (std::size_t i = 0; i < d.samples.size(); ++i) {
        d.samples[i] = static_cast<std::int16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8);
    }
    return d;
}

std::size_t frames(const PcmData& d) {
    return d.channels > 0 ? d.samples.size() / static_cast<std::size_t>(d.channels) : 0;
}

PcmData productDecode(const std::string& path, int quality) {
    FileSource source;
    Decoder decoder;
    decoder.bind(&source);
    decoder.openInput(path.c_str());
    if (!decoder.openStream({1, quality, 2, 16})) {
        ADD_FAILURE() << path << ": " << decoder.lastError();
        return {};
    }
    std::vector<std::uint8_t> pcm;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
    for (;;) {
        std::fill(block.begin(), block.end(), 0);
        if (decoder.decodeFrame(block.data()) == 0) {
            break;
        }
        pcm.insert(pcm.end(), block.begin(), block.end());
    }
    return fromBytes(pcm, decoder.info().outputChannels);
}

} // namespace quavera::test
