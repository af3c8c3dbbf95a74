#include "decoder.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "bitstream.h"
#include "file_layout.h"
#include "frame_header.h"
#include "gapless_trim.h"
#include "layer2.h"
#include "layer3.h"
#include "seek_map.h"
#include "stream_open.h"
#include "stream_state.h"
#include "synthesis.h"

namespace quavera {

namespace {

// Samples by which a Layer III decoder's output lags its input: the hybrid
// filterbank's overlap and the polyphase synthesis. The encoder's delay
// counts without it.
constexpr std::int64_t kLayer3DecoderDelay = 529;

} // namespace

struct Decoder::State {
    State(std::size_t bufferSize, std::size_t threshold, Simd kernels)
        : stream(bufferSize, threshold), layer3(kernels), simd(kernels) {}

    FrameContext context() { return FrameContext{stream, frames, synthesis}; }

    // Jumps to the requested position with the filter and the layer's
    // carried state cleared, so nothing of the old position is heard.
    void executeSeek() {
        frames.seekPending = false;
        layer->reset();
        synthesis.reset();
        if (infoFrame) {
            seekThroughMap();
            return;
        }
        frames.frameCounter = frames.frameNumberAt(frames.seekOffset);
        stream.seek(frames.audioStart + frames.seekOffset);
    }

    // With an information frame: to the frame that holds the time asked for,
    // decoding the frames before it unheard so that it sounds whole.
    void seekThroughMap() {
        const int samplesPerFrame = samplesPerMpegFrame(firstHeader);
        const double sample = seekMs * (info.samplingFrequency / 1000.0) + static_cast<double>(trimmedStart);
        const SeekTarget target = seekMap.locate(*stream.source(), static_cast<std::uint32_t>(sample / samplesPerFrame));
        stream.seek(target.position);
        std::uint32_t heard = target.frame;
        if (target.preroll > 0) {
            scratch.resize(static_cast<std::size_t>(info.pcmBlockSize));
            FrameContext preroll = context();
            while (stream.tell() < target.frameStart && layer->decodeFrame(preroll, scratch.data()) != 0) {
            }
            // A pair of frames of the lower sampling frequencies may reach past the target.
            heard = seekMap.frameAt(stream.tell()).value_or(target.frame);
        }
        const std::uint32_t framesPerCall = firstHeader.id() == 1 ? 1 : 2;
        frames.frameCounter = heard / framesPerCall + 1;
        trim.moveTo(std::int64_t{heard} * samplesPerFrame, target.exact);
    }

    // What the decoder follows of the file it reads: its information frame
    // (at infoPosition), how to seek in it and what to trim.
    void setUpFile(FrameHeader header, const std::optional<InfoFrame>& fileInfo, std::int64_t infoPosition,
                   std::int64_t audioEnd) {
        infoFrame = fileInfo;
        firstHeader = header;
        if (fileInfo) {
            frames.totalFrames = fileInfo->frames / (header.id() == 1 ? 1 : 2);
            seekMap.reset(*fileInfo, header, static_cast<std::int32_t>(infoPosition), audioEnd, randomAccess);
        }
        setUpTrim();
    }

    // A list's next file has begun with the frame just decoded. The list
    // reader starts it after its leading tag.
    void enterNextFile() {
        const FileStart start = std::move(*frames.enteredFile);
        frames.enteredFile.reset();
        frames.audioStart = 0;
        setUpFile(start.header, start.info, start.infoPosition, start.audioEnd);
        StreamInfo file;
        const std::int64_t audioBytes = start.audioEnd > 0 ? start.audioEnd : stream.length();
        describeStream(start.header, OutputConfig{info.frequencyDivisor, info.quality, info.outputChannels,
                                                   info.bitsPerSample},
                       audioBytes, file);
        if (start.info) {
            describeInfoFrame(*start.info, start.header, file);
        }
        currentTotalTime = file.totalTime;
        frames.currentBitratePerChannel = file.bitratePerChannel;
    }

    // After an estimated seek the end is found by where the audio ends: an
    // MPEG-1 call decodes one frame, so the last call holds the padding.
    bool decodedLastFrame() const {
        const std::uint8_t* end = stream.audioEnd();
        return firstHeader.id() == 1 && end != nullptr && stream.data() >= end;
    }

    // With a frame count the decode ends with the last frame; gapless, the
    // encoder's delay and padding are cut too.
    void setUpTrim() {
        trim.clear();
        trimmedStart = 0;
        trimmedEnd = 0;
        layer3.finishLoneFrame(infoFrame.has_value());
        if (!infoFrame) {
            return;
        }
        const std::int64_t samples = std::int64_t{infoFrame->frames} * samplesPerMpegFrame(firstHeader);
        if (gapless && infoFrame->gapless) {
            trimmedStart = infoFrame->delay + kLayer3DecoderDelay;
            trimmedEnd = infoFrame->padding - kLayer3DecoderDelay;
            trim.set(trimmedStart, samples - trimmedEnd);
        } else {
            trim.set(0, samples);
        }
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

    bool randomAccess = true;
    bool gapless = false;
    // The current file's trusted information frame and its first header.
    std::optional<InfoFrame> infoFrame;
    FrameHeader firstHeader;
    SeekMap seekMap;
    std::uint32_t seekMs = 0;
    GaplessTrim trim;
    // Decoded samples before the signal begins and after it ends, when they are cut.
    std::int64_t trimmedStart = 0;
    std::int64_t trimmedEnd = 0;
    std::size_t lastFrameBytes = 0;
    std::vector<std::uint8_t> scratch;
    // Of the file the list reader reads now.
    float currentTotalTime = 0;
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

// The sync search, header parse and information frame that open and
// analysis share; a failure that has a text of its own replaces the
// last-error text.
bool locateFirstFrame(BitStream& stream, bool probeEnd, FileLayout& layout, std::string& lastError) {
    std::string error;
    if (readFileLayout(stream, probeEnd, layout, error)) {
        return true;
    }
    if (!error.empty()) {
        lastError = error;
    }
    return false;
}

// The bytes of the audio: the input less the tags before and after it.
std::int64_t audioBytesOf(const FileLayout& layout, std::int32_t length) {
    return (layout.audioEnd > 0 ? layout.audioEnd : std::int64_t{length}) - layout.first.audioStart;
}

} // namespace

void Decoder::setRandomAccess(bool on) {
    state_->randomAccess = on;
}

void Decoder::setGapless(bool on) {
    state_->gapless = on;
}

bool Decoder::openStream(const OutputConfig& config) {
    State& s = *state_;
    s.layer = nullptr;
    FileLayout layout;
    if (!locateFirstFrame(s.stream, s.randomAccess, layout, s.lastError)) {
        return false;
    }
    const FirstFrame& first = layout.first;
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
    describeStream(header, config, audioBytesOf(layout, length), info);
    info.fileLength = length;
    info.fileName = sourceName(s.stream.source());

    StreamState& st = s.frames;
    st.referenceBits = header.streamBits();
    st.layer = info.layer;
    st.streamChannels = info.streamChannels;
    st.samplingFrequency = info.samplingFrequency;
    // The frame size estimate is that of the first header, which searches
    // for the frames around it (the header's own bitrate, not the average).
    st.frameSize = frameSizeOf(info.streamChannels, info.bitratePerChannel, info.samplingFrequency);
    st.frameCounter = st.frameNumberAt(first.position);
    st.totalFrames = st.framesIn(audioBytesOf(layout, length));
    st.audioStart = first.audioStart;
    st.fileChanged = false;
    st.probeEnd = s.randomAccess;
    st.enteredFile.reset();
    if (layout.info) {
        describeInfoFrame(*layout.info, header, info);
    }
    st.currentBitratePerChannel = info.bitratePerChannel;
    s.currentTotalTime = info.totalTime;
    s.setUpFile(header, layout.info, layout.firstPosition(), layout.audioEnd);
    if (layout.info) {
        st.frameCounter = 1;
    }
    s.info = info;
    s.layer = layer;
    if (st.seekPending) {
        s.executeSeek();
    }
    return true;
}

bool Decoder::analyseStream(StreamInfo& info) {
    State& s = *state_;
    FileLayout layout;
    if (!locateFirstFrame(s.stream, s.randomAccess, layout, s.lastError)) {
        return false;
    }
    const FrameHeader header = layout.first.header;
    const char* refusal = headerRefusal(header);
    if (refusal == nullptr && header.bitrateKbps() == 0) {
        refusal = "This is not a valid audiofile!";
    }
    if (refusal != nullptr) {
        s.lastError = refusal;
        return false;
    }
    const std::int32_t length = s.stream.length();
    info = StreamInfo{};
    describeStream(header, OutputConfig{1, 1, 2, 16}, audioBytesOf(layout, length), info);
    s.infoFrame = layout.info;
    if (layout.info) {
        describeInfoFrame(*layout.info, header, info);
    }
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
    const auto blockBytes = static_cast<std::size_t>(s.info.pcmBlockSize);
    const std::size_t sampleBytes = static_cast<std::size_t>(s.info.outputChannels * s.info.bitsPerSample / 8);
    for (;;) {
        const std::uint32_t number = s.layer->decodeFrame(context, out);
        if (number == 0) {
            return 0;
        }
        if (s.frames.enteredFile) {
            s.enterNextFile();
        }
        if (!s.trim.active()) {
            s.lastFrameBytes = blockBytes;
            return number;
        }
        if (!s.trim.endKnown() && s.decodedLastFrame()) {
            s.trim.endInNextCall(GaplessTrim::kCallSamples - s.trimmedEnd);
        }
        s.lastFrameBytes = s.trim.apply(out, blockBytes, s.info.frequencyDivisor, sampleBytes);
        if (s.lastFrameBytes != 0) {
            return number;
        }
        // Cut whole: the next frame's place starts silent again, as the caller's did.
        std::fill(out, out + blockBytes, static_cast<std::uint8_t>(s.info.bitsPerSample == 8 ? 0x80 : 0x00));
    }
}

std::size_t Decoder::lastFrameBytes() const {
    return state_->lastFrameBytes;
}

const InfoFrame* Decoder::infoFrame() const {
    return state_->infoFrame ? &*state_->infoFrame : nullptr;
}

bool Decoder::requestSeek(std::uint32_t ms) {
    State& s = *state_;
    if (s.frames.seekPending || s.layer == nullptr) {
        return false;
    }
    s.seekMs = ms;
    // Without an information frame, at the current file's bitrate (a stream
    // with one seeks through it).
    s.frames.seekOffset = static_cast<std::int32_t>(ms * static_cast<double>(s.frames.currentBitratePerChannel) *
                                                    s.info.streamChannels * 0.125);
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

float Decoder::currentTotalTime() const {
    return state_->currentTotalTime;
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
