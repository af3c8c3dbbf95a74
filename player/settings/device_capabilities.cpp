#include "device_capabilities.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace quavera {
namespace {

namespace mask = format_mask;

bool IsOneOf(int value, std::initializer_list<int> set) {
    return std::find(set.begin(), set.end(), value) != set.end();
}

constexpr std::initializer_list<int> kDivisors = {1, 2, 4};
constexpr std::initializer_list<int> kLevels = {1, 2, 3};
constexpr std::initializer_list<int> kChannelCounts = {1, 2};
constexpr std::initializer_list<int> kWidths = {8, 16};

Choice RatioChoice(int divisor) {
    return divisor == 1 ? Choice::Ratio1 : divisor == 2 ? Choice::Ratio2 : Choice::Ratio4;
}

std::uint32_t RateGroup(int divisor) {
    return divisor == 1 ? mask::k44kHz : divisor == 2 ? mask::k22kHz : mask::k11kHz;
}

Choice Level(Choice first, int level) { return static_cast<Choice>(static_cast<int>(first) + level - 1); }

// What each choice stands for.
struct ChoiceMeaning {
    int PlaybackChoices::*value;
    int number;
    bool (DeviceCapabilities::*choose)(int);
};

constexpr ChoiceMeaning kMeanings[kChoiceCount] = {
    {&PlaybackChoices::channels, 1, &DeviceCapabilities::SetChannels},
    {&PlaybackChoices::channels, 2, &DeviceCapabilities::SetChannels},
    {&PlaybackChoices::bits, 8, &DeviceCapabilities::SetBits},
    {&PlaybackChoices::bits, 16, &DeviceCapabilities::SetBits},
    {&PlaybackChoices::method, 1, &DeviceCapabilities::SetMethod},
    {&PlaybackChoices::method, 2, &DeviceCapabilities::SetMethod},
    {&PlaybackChoices::method, 3, &DeviceCapabilities::SetMethod},
    {&PlaybackChoices::divisor, 1, &DeviceCapabilities::SetDivisor},
    {&PlaybackChoices::divisor, 2, &DeviceCapabilities::SetDivisor},
    {&PlaybackChoices::divisor, 4, &DeviceCapabilities::SetDivisor},
    {&PlaybackChoices::quality, 1, &DeviceCapabilities::SetQuality},
    {&PlaybackChoices::quality, 2, &DeviceCapabilities::SetQuality},
    {&PlaybackChoices::quality, 3, &DeviceCapabilities::SetQuality},
};

} // namespace

DeviceCapabilities::DeviceCapabilities(const AudioDevices& devices) : devices_(devices) {
    allowed_.fill(true);
    switch (devices_.platform()) {
    case Platform::Win32s: Allow(Choice::Method2, false); [[fallthrough]];
    case Platform::WindowsNT: Allow(Choice::Method3, false); break;
    case Platform::Windows9x: break;
    }
    values_.device = kNoDevice;
}

void DeviceCapabilities::Load(const PlaybackChoices& engine) {
    SelectDevice(engine.device);
    SetDivisor(engine.divisor);
    SetQuality(engine.quality);
    SetChannels(engine.channels);
    SetBits(engine.bits);
    values_.buffers = engine.buffers;
    values_.framesPerBuffer = engine.framesPerBuffer;
    SetMethod(engine.method);
    FallBack(engine);
}

// Values the engine holds that no operation took (a method the platform
// cannot do, a number out of range, a device whose formats cannot be read)
// would leave the model at 0, which the engine refuses to play with.
void DeviceCapabilities::FallBack(const PlaybackChoices& engine) {
    if (values_.device == kNoDevice) SelectDevice(-1);
    // formatChoice: a value that the device's formats decide, which no rule
    // can check while they cannot be read.
    const auto settle = [this](int& value, int stored, int preferred, std::initializer_list<int> valid,
                               bool (DeviceCapabilities::*set)(int), bool formatChoice) {
        std::vector<int> candidates = {stored, preferred};
        candidates.insert(candidates.end(), valid.begin(), valid.end());
        for (const int candidate : candidates) {
            if (IsOneOf(value, valid)) return;
            if (!IsOneOf(candidate, valid)) continue;
            (this->*set)(candidate);
            if (formatChoice && !deviceReadable_ && !IsOneOf(value, valid)) value = candidate;
        }
    };
    settle(values_.divisor, engine.divisor, 1, kDivisors, &DeviceCapabilities::SetDivisor, true);
    settle(values_.quality, engine.quality, 2, kLevels, &DeviceCapabilities::SetQuality, false);
    settle(values_.channels, engine.channels, 2, kChannelCounts, &DeviceCapabilities::SetChannels, true);
    settle(values_.bits, engine.bits, 16, kWidths, &DeviceCapabilities::SetBits, true);
    settle(values_.method, engine.method, 1, kLevels, &DeviceCapabilities::SetMethod, false);
}

bool DeviceCapabilities::SelectDevice(int device) {
    if (device == values_.device || device < -1) return false;
    values_.device = device;
    const std::optional<std::uint32_t> formats = devices_.formats(device);
    if (!formats) {
        for (const Choice choice : {Choice::Mono, Choice::Stereo, Choice::Bits8, Choice::Bits16, Choice::Ratio1,
                                    Choice::Ratio2, Choice::Ratio4})
            Allow(choice, false);
        deviceReadable_ = false;
        return false;
    }
    // The channel and width choices stay as the last rate, width or channel
    // change left them; a device that could not be read had cleared them all.
    if (!deviceReadable_) {
        for (const Choice choice : {Choice::Mono, Choice::Stereo, Choice::Bits8, Choice::Bits16}) Allow(choice, true);
        deviceReadable_ = true;
    }
    const bool full = (*formats & mask::k44kHz) != 0;
    Allow(Choice::Ratio1, full);
    Allow(Choice::Ratio2, full);
    Allow(Choice::Ratio4, true);
    if (!full) values_.divisor = 4;
    return true;
}

bool DeviceCapabilities::ChooseFormat(int PlaybackChoices::*value, int requested, std::initializer_list<int> valid,
                                      Choice choice, std::uint32_t mask, Rule first, Rule second) {
    if (requested == values_.*value || !IsOneOf(requested, valid)) return false;
    const std::optional<std::uint32_t> formats = devices_.formats(values_.device);
    if (!formats) return true;
    if (!allowed(choice)) return false;
    values_.*value = requested;
    (this->*first)(*formats & mask);
    (this->*second)(*formats & mask);
    return true;
}

bool DeviceCapabilities::SetDivisor(int divisor) {
    return ChooseFormat(&PlaybackChoices::divisor, divisor, kDivisors, RatioChoice(divisor), RateGroup(divisor),
                        &DeviceCapabilities::ApplyStereoRule, &DeviceCapabilities::ApplyWidthRule);
}

bool DeviceCapabilities::SetBits(int bits) {
    return ChooseFormat(&PlaybackChoices::bits, bits, kWidths, bits == 8 ? Choice::Bits8 : Choice::Bits16,
                        bits == 8 ? mask::k8Bit : mask::k16Bit, &DeviceCapabilities::ApplyStereoRule,
                        &DeviceCapabilities::ApplyRatioRule);
}

bool DeviceCapabilities::SetChannels(int channels) {
    return ChooseFormat(&PlaybackChoices::channels, channels, kChannelCounts,
                        channels == 1 ? Choice::Mono : Choice::Stereo, channels == 1 ? mask::kMono : mask::kStereo,
                        &DeviceCapabilities::ApplyWidthRule, &DeviceCapabilities::ApplyRatioRule);
}

bool DeviceCapabilities::SetQuality(int quality) {
    if (quality == values_.quality || !IsOneOf(quality, kLevels) || !allowed(Level(Choice::Quality1, quality)))
        return false;
    values_.quality = quality;
    return true;
}

bool DeviceCapabilities::SetMethod(int method) {
    if (method == values_.method || !IsOneOf(method, kLevels) || !allowed(Level(Choice::Method1, method)))
        return false;
    values_.method = method;
    return true;
}

bool DeviceCapabilities::SetBuffers(int buffers) {
    if (buffers == values_.buffers) return false;
    values_.buffers = buffers;
    return true;
}

bool DeviceCapabilities::IsChosen(Choice choice) const {
    const ChoiceMeaning& meaning = kMeanings[static_cast<int>(choice)];
    return values_.*meaning.value == meaning.number;
}

bool DeviceCapabilities::Choose(Choice choice) {
    const ChoiceMeaning& meaning = kMeanings[static_cast<int>(choice)];
    return (this->*meaning.choose)(meaning.number);
}

void DeviceCapabilities::ApplyStereoRule(std::uint32_t formats) {
    Allow(Choice::Mono, true);
    const bool stereo = (formats & mask::kStereo) != 0;
    Allow(Choice::Stereo, stereo);
    if (!stereo) values_.channels = 1;
}

void DeviceCapabilities::ApplyWidthRule(std::uint32_t formats) {
    const bool wide = (formats & mask::k16Bit) != 0;
    Allow(Choice::Bits8, true);
    Allow(Choice::Bits16, wide);
    if (!wide) values_.bits = 8;
}

void DeviceCapabilities::ApplyRatioRule(std::uint32_t formats) {
    const bool full = (formats & mask::k44kHz) != 0;
    const bool half = (formats & mask::k22kHz) != 0;
    Allow(Choice::Ratio1, full);
    Allow(Choice::Ratio2, full || half);
    Allow(Choice::Ratio4, true);
    if (!full && !half) values_.divisor = 4;
    else if (!full && values_.divisor == 1) values_.divisor = 2;
}

} // namespace quavera
