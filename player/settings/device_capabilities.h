#pragma once
// What the selected wave-out device can play, and the playback choices the
// settings pages offer for it. The device query sits behind AudioDevices, so
// the rules are tested against made-up devices.
#include <array>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

// <windows.h> maps this name to a printer function: where both meet, it is
// included first and the model keeps its name.
#undef DeviceCapabilities

namespace quavera {

enum class Platform { Win32s, Windows9x, WindowsNT };

// The wave-out devices of the machine. A device is its index, or -1 for the
// wave mapper.
class AudioDevices {
public:
    virtual ~AudioDevices() = default;
    virtual Platform platform() const = 0;
    virtual int count() const = 0;
    virtual std::string name(int device) const = 0;
    // The standard format flags the device reports (bit 0 = 11.025 kHz mono
    // 8 bit ... bit 11 = 44.1 kHz stereo 16 bit); nothing when they cannot be read.
    virtual std::optional<std::uint32_t> formats(int device) const = 0;
};

namespace format_mask {
constexpr std::uint32_t k44kHz = 0xF00;
constexpr std::uint32_t k22kHz = 0x0F0;
constexpr std::uint32_t k11kHz = 0x00F;
constexpr std::uint32_t kStereo = 0xAAA;
constexpr std::uint32_t kMono = 0x555;
constexpr std::uint32_t k16Bit = 0xCCC;
constexpr std::uint32_t k8Bit = 0x333;
} // namespace format_mask

// The engine's eight playback configuration values, in the order the engine
// reads and writes them.
struct PlaybackChoices {
    int divisor = 0;
    int quality = 0;
    int channels = 0;
    int bits = 0;
    int buffers = 0;
    int framesPerBuffer = 0;
    int method = 0;
    int device = 0;
    bool operator==(const PlaybackChoices&) const = default;
};

// The choices that a flag allows or forbids, in the order the flags are kept.
enum class Choice {
    Mono, Stereo, Bits8, Bits16, Method1, Method2, Method3, Ratio1, Ratio2, Ratio4, Quality1, Quality2, Quality3,
};
constexpr int kChoiceCount = 13;

class DeviceCapabilities {
public:
    // Starts with every choice allowed but those the platform cannot do, and
    // no values; Load fills them.
    explicit DeviceCapabilities(const AudioDevices& devices);

    const PlaybackChoices& values() const { return values_; }
    bool allowed(Choice choice) const { return allowed_[static_cast<int>(choice)]; }

    // Takes the engine's values through the operations below, so a value the
    // device or platform cannot do keeps the model's previous one. A value
    // left without any valid choice takes the engine's default, or the first
    // allowed choice.
    void Load(const PlaybackChoices& engine);

    // Each returns whether the model changed.
    bool SelectDevice(int device);
    bool SetDivisor(int divisor);
    bool SetBits(int bits);
    bool SetChannels(int channels);
    bool SetQuality(int quality);
    bool SetMethod(int method);
    // The buffer count as it stands; the buffer page computes it.
    bool SetBuffers(int buffers);

    // A choice as a radio button shows it: whether the model holds its value,
    // and the operation that asks for it.
    bool IsChosen(Choice choice) const;
    bool Choose(Choice choice);

private:
    using Rule = void (DeviceCapabilities::*)(std::uint32_t formats);

    void Allow(Choice choice, bool allowed) { allowed_[static_cast<int>(choice)] = allowed; }
    // What the rate, width and channel operations share: the value must be
    // valid and new; without the device's formats nothing changes, but a
    // change is reported; a forbidden choice is refused; otherwise the value
    // is taken and two rules follow from the device's formats within mask.
    bool ChooseFormat(int PlaybackChoices::*value, int requested, std::initializer_list<int> valid, Choice choice,
                      std::uint32_t mask, Rule first, Rule second);
    // The rules that follow a choice, from the formats it leaves: which
    // channel counts, widths and ratios are allowed, and the values that
    // must change with them.
    void ApplyStereoRule(std::uint32_t formats);
    void ApplyWidthRule(std::uint32_t formats);
    void ApplyRatioRule(std::uint32_t formats);
    void FallBack(const PlaybackChoices& engine);

    // Before the first selection: no real device has this number.
    static constexpr int kNoDevice = INT_MIN;

    const AudioDevices& devices_;
    PlaybackChoices values_;
    std::array<bool, kChoiceCount> allowed_{};
    bool deviceReadable_ = true;
};

} // namespace quavera
