#include "decoder.h"

#include "bitstream.h"
#include "frame_header.h"
#include "layer2.h"
#include "layer3.h"
#include "stream_open.h"
#include "stream_state.h"
#include "synthesis.h"

namespace quavera {

struct Decoder::State {
    State(std::size_t bufferSize, std::size_t threshold, Simd kernels)
        : stream(bufferSize, threshold), layer3(kernels), simd(kernels) {}

    FrameContext context() { return FrameContext{stream, frames, synthesis}; }

    // Jumps to the requested byte offset of the audio with the filter and the
    // layer's carried state cleared, so nothing of the old position is heard.
    void executeSeek() {
        frames.seekPending = false;
        layer->reset();
        synthesis.reset();
        frames.frameCounter = frames.frameNumberAt(frames.seekOffset);
        stream.seek(frames.audioStart + frames.seekOffset);
    }

    BitStream stream;
    StreamState frames;
    Synthesis synthesis;
    Layer2Decoder layer2;
    Layer3Decoder layer3;
    LayerDecoder* layer = nullptr;
    Simd simd;
    StreamInfo info;
    std::string lastError = "No error occured!";
};

Decoder::Decoder(std::size_t bufferSize, std::size_t threshold, Simd simd)
    : state_(new State(bufferSize, threshold, simd)) {}

Decoder::~Decoder() {
    delete state_;
}

bool Decoder::bind(InputSource* source) {
    return state_->stream.bind(source);
}

InputSource* Decoder::source() const {
    return state_->stream.source();
}

bool Decoder::openInput(const char* name) {
    return state_->stream.open(name);
}

bool Decoder::closeInput() {
    return state_->stream.close();
}

std::int32_t Decoder::tell() const {
    return state_->stream.tell();
}

namespace {

std::string sourceName(InputSource* source) {
    const char* name = source != nullptr ? source->name() : nullptr;
    return name != nullptr ? name : "";
}

// The sync search and header parse that open and analysis share; a failure
// that has a text of its own replaces the last-error text.
bool locateFirstFrame(BitStream& stream, FirstFrame& first, std::string& lastError) {
    std::string error;
    if (findFirstFrame(stream, first, error)) {
        return true;
    }
    if (!error.empty()) {
        lastError = error;
    }
    return false;
}

} // namespace

bool Decoder::openStream(const OutputConfig& config) {
    State& s = *state_;
    s.layer = nullptr;
    FirstFrame first;
    if (!locateFirstFrame(s.stream, first, s.lastError)) {
        return false;
    }
    const FrameHeader header = first.header;
    if (const char* refusal = headerRefusal(header)) {
        s.lastError = refusal;
        return false;
    }
    LayerDecoder* layer = header.layer() == 2 ? static_cast<LayerDecoder*>(&s.layer2) : &s.layer3;
    std::string error = layer->setup(header);
    if (!error.empty()) {
        s.lastError = error;
        return false;
    }
    const int outputChannels = header.channels() == 1 ? 1 : config.channels;
    if (!s.synthesis.configure(config.frequencyDivisor, config.quality, header.channels(), outputChannels,
                               config.bitsPerSample, error, s.simd)) {
        s.lastError = error;
        return false;
    }
    s.synthesis.reset();

    StreamInfo info;
    const std::int32_t length = s.stream.length();
    describeStream(header, config, std::int64_t{length} - first.audioStart, info);
    info.fileLength = length;
    info.fileName = sourceName(s.stream.source());

    StreamState& st = s.frames;
    st.referenceBits = header.streamBits();
    st.layer = info.layer;
    st.streamChannels = info.streamChannels;
    st.samplingFrequency = info.samplingFrequency;
    st.frameSize = frameSizeOf(info.streamChannels, info.bitratePerChannel, info.samplingFrequency);
    st.frameCounter = st.frameNumberAt(first.position);
    st.totalFrames = st.framesIn(std::int64_t{length} - first.audioStart);
    st.audioStart = first.audioStart;
    st.fileChanged = false;
    st.currentBitratePerChannel = info.bitratePerChannel;
    s.info = info;
    s.layer = layer;
    if (st.seekPending) {
        s.executeSeek();
    }
    return true;
}

bool Decoder::analyseStream(StreamInfo& info) {
    State& s = *state_;
    FirstFrame first;
    if (!locateFirstFrame(s.stream, first, s.lastError)) {
        return false;
    }
    const char* refusal = headerRefusal(first.header);
    if (refusal == nullptr && first.header.bitrateKbps() == 0) {
        refusal = "This is not a valid audiofile!";
    }
    if (refusal != nullptr) {
        s.lastError = refusal;
        return false;
    }
    const std::int32_t length = s.stream.length();
    info = StreamInfo{};
    describeStream(first.header, OutputConfig{1, 1, 2, 16}, std::int64_t{length} - first.audioStart, info);
    info.fileLength = length;
    info.fileName = sourceName(s.stream.source());
    return true;
}

const StreamInfo& Decoder::info() const {
    return state_->info;
}

std::uint32_t Decoder::decodeFrame(std::uint8_t* out) {
    State& s = *state_;
    if (s.layer == nullptr) {
        return 0;
    }
    if (s.frames.seekPending) {
        s.executeSeek();
    }
    FrameContext context = s.context();
    return s.layer->decodeFrame(context, out);
}

bool Decoder::requestSeek(std::uint32_t ms) {
    State& s = *state_;
    if (s.frames.seekPending || s.layer == nullptr) {
        return false;
    }
    s.frames.seekOffset =
        static_cast<std::int32_t>(ms * static_cast<double>(s.info.bitratePerChannel) * s.info.streamChannels * 0.125);
    s.frames.seekPending = true;
    return true;
}

bool Decoder::takeFileChange() {
    const bool changed = state_->frames.fileChanged;
    state_->frames.fileChanged = false;
    return changed;
}

int Decoder::currentBitratePerChannel() const {
    return state_->frames.currentBitratePerChannel;
}

std::uint32_t Decoder::frameNumber() const {
    return state_->frames.frameCounter;
}

void Decoder::setFrameNumber(std::uint32_t frame) {
    state_->frames.frameCounter = frame;
}

std::uint32_t Decoder::totalFrames() const {
    return state_->frames.totalFrames;
}

double Decoder::msPerFrame() const {
    const StreamInfo& info = state_->info;
    return info.samplingFrequency != 0 ? info.samplesPerFrame * 1000.0 / info.samplingFrequency : 0.0;
}

std::int32_t Decoder::audioStart() const {
    return state_->frames.audioStart;
}

bool Decoder::seekPending() const {
    return state_->frames.seekPending;
}

const char* Decoder::lastError() const {
    return state_->lastError.c_str();
}

void Decoder::setLastError(const std::string& text) {
    state_->lastError = text;
}

} // namespace quavera
