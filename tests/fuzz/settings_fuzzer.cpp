// libFuzzer target for the settings' rules. The first byte picks what the
// rest is:
//   even: the last bytes of a file, read as an ID3 version 1 tag;
//   odd:  four wave-out devices, the engine's stored values and a sequence
//         of user actions on the capability model, whose invariant is
//         checked after each.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "buffer_size.h"
#include "fake_devices.h"
#include "id3v1_tag.h"

namespace {

using namespace quavera;

void Check(bool condition) {
    if (!condition) std::abort();
}

void FuzzTag(const std::uint8_t* data, std::size_t size) {
    const auto tag = ParseId3v1Tag(data, size);
    Check(tag.has_value() == (size == kId3v1Size && std::memcmp(data, "TAG", 3) == 0));
    if (!tag) return;
    for (const std::string* field : {&tag->title, &tag->artist, &tag->album, &tag->comment})
        Check(field->size() <= 30 && field->find('\0') == std::string::npos);
    Check(tag->year.size() <= 4 && tag->year.find('\0') == std::string::npos);
}

// Reads the input from the front; zeros when it runs out.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    unsigned Next() { return at_ < size_ ? data_[at_++] : 0; }
    int Signed() { return static_cast<int>(static_cast<signed char>(Next())); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void FuzzModel(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    test::FakeDevices devices(static_cast<Platform>(in.Next() % 3));
    for (int device = -1; device < 3; ++device) {
        const unsigned high = in.Next();
        const unsigned low = in.Next();
        if (high & 0x80)
            devices.Add(device, std::nullopt);
        else
            devices.Add(device, ((high << 8) | low) & 0xFFF);
    }
    PlaybackChoices engine;
    for (int* value : {&engine.divisor, &engine.quality, &engine.channels, &engine.bits, &engine.buffers,
                       &engine.framesPerBuffer, &engine.method, &engine.device})
        *value = in.Signed();
    DeviceCapabilities model(devices);
    model.Load(engine);
    Check(test::HoldsInvariant(model, devices));
    while (!in.empty()) {
        const unsigned action = in.Next();
        const PlaybackChoices before = model.values();
        bool changed = false;
        if (action < 0x80)
            changed = model.Choose(static_cast<Choice>(action % kChoiceCount));
        else if (action < 0xC0)
            changed = model.SelectDevice(static_cast<int>(action % 6) - 2);
        else
            changed = model.SetBuffers(BuffersForSliderPosition(in.Signed(), model.values().framesPerBuffer));
        Check(test::HoldsInvariant(model, devices));
        if (!changed) {
            PlaybackChoices unchanged = model.values();
            unchanged.device = before.device;
            Check(unchanged == before);
        }
        const int position = BufferSliderPosition(model.values().buffers, model.values().framesPerBuffer);
        Check(position >= 0 && !BufferSizeText(position).empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    if (data[0] % 2 == 0)
        FuzzTag(data + 1, size - 1);
    else
        FuzzModel(data + 1, size - 1);
    return 0;
}
