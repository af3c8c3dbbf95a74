#pragma once
// Made-up wave-out devices for the capability model, and the model's
// invariant, shared by the unit tests and the fuzz target.
#include <map>

#include "device_capabilities.h"

namespace quavera::test {

class FakeDevices final : public AudioDevices {
public:
    explicit FakeDevices(Platform platform = Platform::WindowsNT) : platform_(platform) {}

    // A device with these format flags; without flags its capabilities cannot be read.
    void Add(int device, std::optional<std::uint32_t> formats) { formats_[device] = formats; }

    Platform platform() const override { return platform_; }
    int count() const override { return static_cast<int>(formats_.size()); }
    std::string name(int device) const override { return "Device " + std::to_string(device); }
    std::optional<std::uint32_t> formats(int device) const override {
        const auto found = formats_.find(device);
        return found == formats_.end() ? std::nullopt : found->second;
    }

private:
    Platform platform_;
    std::map<int, std::optional<std::uint32_t>> formats_;
};

// Every chosen value is a valid one that the model allows, as long as the
// current device's formats can be read (otherwise every format choice is
// forbidden while the values stay as they were). The quality flags are always
// set and the platform's refused methods never.
inline bool HoldsInvariant(const DeviceCapabilities& model, const AudioDevices& devices) {
    const PlaybackChoices& v = model.values();
    const auto ratio = [](int divisor) {
        return divisor == 1 ? Choice::Ratio1 : divisor == 2 ? Choice::Ratio2 : Choice::Ratio4;
    };
    const auto level = [](Choice first, int value) { return static_cast<Choice>(static_cast<int>(first) + value - 1); };
    if (!model.allowed(Choice::Quality1) || !model.allowed(Choice::Quality2) || !model.allowed(Choice::Quality3))
        return false;
    if (devices.platform() != Platform::Windows9x && model.allowed(Choice::Method3)) return false;
    if (devices.platform() == Platform::Win32s && model.allowed(Choice::Method2)) return false;
    if (v.quality < 1 || v.quality > 3 || v.method < 1 || v.method > 3) return false;
    if (!model.allowed(level(Choice::Method1, v.method))) return false;
    if (v.divisor != 1 && v.divisor != 2 && v.divisor != 4) return false;
    if (v.channels != 1 && v.channels != 2) return false;
    if (v.bits != 8 && v.bits != 16) return false;
    if (v.device < -1) return false;
    if (!devices.formats(v.device)) return true;
    return model.allowed(ratio(v.divisor)) && model.allowed(v.channels == 1 ? Choice::Mono : Choice::Stereo) &&
           model.allowed(v.bits == 8 ? Choice::Bits8 : Choice::Bits16);
}

} // namespace quavera::test
