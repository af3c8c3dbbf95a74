// The capability model against made-up devices: loading, every operation's
// rules, refusals, unreadable devices and random sequences of user actions.
#include <gtest/gtest.h>

#include <random>

#include "fake_devices.h"

namespace quavera {

void PrintTo(Choice choice, std::ostream* out) {
    static const char* const names[kChoiceCount] = {"mono",     "stereo",   "8 bit",    "16 bit",   "method 1",
                                                    "method 2", "method 3", "ratio 1",  "ratio 2",  "ratio 4",
                                                    "quality 1", "quality 2", "quality 3"};
    *out << names[static_cast<int>(choice)];
}

void PrintTo(const PlaybackChoices& v, std::ostream* out) {
    *out << "{divisor " << v.divisor << ", quality " << v.quality << ", channels " << v.channels << ", bits "
         << v.bits << ", buffers " << v.buffers << "x" << v.framesPerBuffer << ", method " << v.method
         << ", device " << v.device << "}";
}

namespace test {
namespace {

constexpr PlaybackChoices kEngineDefaults{1, 2, 2, 16, 14, 2, 1, -1};

// Format flags: bit 0 is 11.025 kHz mono 8 bit, then stereo 8, mono 16,
// stereo 16; the same four for 22.05 kHz (bits 4-7) and 44.1 kHz (8-11).
constexpr std::uint32_t kEverything = 0xFFF;
constexpr std::uint32_t kOnly22kHz = 0x0F0;
constexpr std::uint32_t kOnly8BitMono = 0x111;
constexpr std::uint32_t kMono8BitStereo16Bit = 0x999;
constexpr std::uint32_t kNoStereoAt11kHz = 0xFF5;
constexpr std::uint32_t k16BitOnlyAt22kHz = 0x3F3;
constexpr std::uint32_t k16BitOnlyAt11kHz = 0x33F;

std::vector<Choice> Forbidden(const DeviceCapabilities& model) {
    std::vector<Choice> forbidden;
    for (int i = 0; i < kChoiceCount; ++i)
        if (!model.allowed(static_cast<Choice>(i))) forbidden.push_back(static_cast<Choice>(i));
    return forbidden;
}

using C = Choice;

// Made-up devices on Windows NT, by device number and format flags.
FakeDevices Devices(std::initializer_list<std::pair<int, std::optional<std::uint32_t>>> formats) {
    FakeDevices devices;
    for (const auto& [device, flags] : formats) devices.Add(device, flags);
    return devices;
}

// The model over the devices, loaded with the values.
DeviceCapabilities Loaded(const FakeDevices& devices, const PlaybackChoices& values = kEngineDefaults) {
    DeviceCapabilities model(devices);
    model.Load(values);
    return model;
}

TEST(DeviceCapabilities, LoadsTheEngineValuesForADeviceThatPlaysEverything) {
    const FakeDevices devices = Devices({{-1, kEverything}});
    DeviceCapabilities model = Loaded(devices);
    EXPECT_EQ(model.values(), kEngineDefaults);
    EXPECT_EQ(Forbidden(model), std::vector<Choice>{C::Method3}) << "Windows NT has no device callback";
}

TEST(DeviceCapabilities, PlatformDecidesTheRefreshMethodsAndARefusedMethodLoadsAsTheTimer) {
    for (const auto& [platform, stored, loaded] : {std::tuple{Platform::Windows9x, 3, 3},
                                                   std::tuple{Platform::WindowsNT, 3, 1},
                                                   std::tuple{Platform::WindowsNT, 2, 2},
                                                   std::tuple{Platform::Win32s, 2, 1},
                                                   std::tuple{Platform::Win32s, 3, 1}}) {
        FakeDevices devices(platform);
        devices.Add(-1, kEverything);
        DeviceCapabilities model(devices);
        PlaybackChoices engine = kEngineDefaults;
        engine.method = stored;
        model.Load(engine);
        EXPECT_EQ(model.values().method, loaded) << "stored " << stored;
        EXPECT_FALSE(model.SetMethod(3) && platform != Platform::Windows9x);
        EXPECT_EQ(model.allowed(C::Method2), platform != Platform::Win32s);
    }
}

TEST(DeviceCapabilities, SelectingADeviceWithOnly22kHzFormatsForcesRatioOneToFour) {
    const FakeDevices devices = Devices({{-1, kEverything}, {0, kOnly22kHz}});
    DeviceCapabilities model = Loaded(devices);
    EXPECT_TRUE(model.SelectDevice(0));
    EXPECT_EQ(model.values().device, 0);
    EXPECT_EQ(model.values().divisor, 4);
    EXPECT_FALSE(model.allowed(C::Ratio1));
    EXPECT_FALSE(model.allowed(C::Ratio2));
    EXPECT_TRUE(model.allowed(C::Ratio4));
    EXPECT_FALSE(model.SetDivisor(1));
    EXPECT_FALSE(model.SetDivisor(2));
    EXPECT_EQ(model.values().divisor, 4);
    // Channel and width choices stay as they were.
    EXPECT_EQ(model.values().channels, 2);
    EXPECT_EQ(model.values().bits, 16);
    EXPECT_TRUE(model.allowed(C::Stereo) && model.allowed(C::Bits16));
    // Back to the full device: every ratio again, the divisor as it was left.
    EXPECT_TRUE(model.SelectDevice(-1));
    EXPECT_EQ(Forbidden(model), std::vector<Choice>{C::Method3});
    EXPECT_EQ(model.values().divisor, 4);
}

TEST(DeviceCapabilities, EightBitWhoseFormatsAreAllMonoSwitchesToMonoAndForbidsStereo) {
    const FakeDevices devices = Devices({{-1, kMono8BitStereo16Bit}});
    DeviceCapabilities model = Loaded(devices);
    EXPECT_EQ(model.values(), kEngineDefaults);
    EXPECT_TRUE(model.SetBits(8));
    EXPECT_EQ(model.values().bits, 8);
    EXPECT_EQ(model.values().channels, 1);
    EXPECT_FALSE(model.allowed(C::Stereo));
    EXPECT_FALSE(model.SetChannels(2));
    EXPECT_EQ(model.values().channels, 1);
    // Sixteen bit allows stereo again; the channels stay as they are.
    EXPECT_TRUE(model.SetBits(16));
    EXPECT_TRUE(model.allowed(C::Stereo));
    EXPECT_EQ(model.values().channels, 1);
    EXPECT_TRUE(model.SetChannels(2));
}

TEST(DeviceCapabilities, DeviceWithOnlyEightBitMonoLoadsAsMonoEightBit) {
    const FakeDevices devices = Devices({{-1, kOnly8BitMono}});
    DeviceCapabilities model = Loaded(devices);
    EXPECT_EQ(model.values().channels, 1);
    EXPECT_EQ(model.values().bits, 8);
    EXPECT_EQ(model.values().divisor, 1);
    EXPECT_EQ(Forbidden(model), (std::vector<Choice>{C::Stereo, C::Bits16, C::Method3}));
    EXPECT_FALSE(model.SetChannels(2));
    EXPECT_FALSE(model.SetBits(16));
    EXPECT_EQ(model.values().channels, 1);
    EXPECT_EQ(model.values().bits, 8);
}

TEST(DeviceCapabilities, RatioFollowsTheRateGroupsStereoAndWidth) {
    const FakeDevices devices = Devices({{-1, kNoStereoAt11kHz}});
    DeviceCapabilities model = Loaded(devices);
    EXPECT_TRUE(model.SetDivisor(4));
    EXPECT_EQ(model.values().channels, 1);
    EXPECT_FALSE(model.allowed(C::Stereo));
    EXPECT_TRUE(model.allowed(C::Bits16));
    EXPECT_TRUE(model.SetDivisor(2));
    EXPECT_TRUE(model.allowed(C::Stereo));
    EXPECT_EQ(model.values().channels, 1) << "the channels are not switched back";
    EXPECT_EQ(model.values().bits, 16);
}

TEST(DeviceCapabilities, WidthAndChannelChangesApplyTheRatioRule) {
    FakeDevices devices;
    devices.Add(-1, k16BitOnlyAt22kHz);
    devices.Add(1, k16BitOnlyAt11kHz);
    DeviceCapabilities model(devices);
    PlaybackChoices engine = kEngineDefaults;
    engine.bits = 8;
    model.Load(engine);
    EXPECT_EQ(model.values().divisor, 1);
    EXPECT_EQ(model.values().bits, 8);
    // Sixteen bit exists only at 22.05 kHz: the divisor 1 becomes 2.
    EXPECT_TRUE(model.SetBits(16));
    EXPECT_EQ(model.values().divisor, 2);
    EXPECT_FALSE(model.allowed(C::Ratio1));
    EXPECT_TRUE(model.allowed(C::Ratio2));
    EXPECT_FALSE(model.SetDivisor(1));
    EXPECT_TRUE(model.SetBits(8));
    EXPECT_TRUE(model.allowed(C::Ratio1)) << "8 bit plays at 44.1 kHz";

    // Sixteen bit only at 11.025 kHz: only the ratio 1:4 is left.
    EXPECT_TRUE(model.SelectDevice(1));
    EXPECT_TRUE(model.SetBits(16));
    EXPECT_EQ(model.values().divisor, 4);
    EXPECT_EQ(Forbidden(model), (std::vector<Choice>{C::Method3, C::Ratio1, C::Ratio2}));
    // Mono formats exist at every rate: every ratio is allowed again.
    EXPECT_TRUE(model.SetChannels(1));
    EXPECT_EQ(model.values().bits, 16);
    EXPECT_EQ(model.values().divisor, 4);
    EXPECT_EQ(Forbidden(model), std::vector<Choice>{C::Method3});
}

TEST(DeviceCapabilities, EqualAndInvalidValuesAreNoChange) {
    const FakeDevices devices = Devices({{-1, kEverything}});
    DeviceCapabilities model = Loaded(devices);
    EXPECT_FALSE(model.SelectDevice(-1));
    EXPECT_FALSE(model.SelectDevice(-2));
    EXPECT_FALSE(model.SetDivisor(1));
    EXPECT_FALSE(model.SetDivisor(3));
    EXPECT_FALSE(model.SetDivisor(0));
    EXPECT_FALSE(model.SetQuality(2));
    EXPECT_FALSE(model.SetQuality(4));
    EXPECT_FALSE(model.SetChannels(3));
    EXPECT_FALSE(model.SetBits(12));
    EXPECT_FALSE(model.SetMethod(0));
    EXPECT_FALSE(model.SetMethod(3));
    EXPECT_FALSE(model.SetBuffers(14));
    EXPECT_EQ(model.values(), kEngineDefaults);
    EXPECT_TRUE(model.SetQuality(3));
    EXPECT_TRUE(model.SetMethod(2));
    EXPECT_TRUE(model.SetBuffers(40));
    EXPECT_EQ(model.values().buffers, 40);
}

TEST(DeviceCapabilities, UnreadableDeviceForbidsEveryFormatChoiceAndKeepsTheValues) {
    const FakeDevices devices = Devices({{-1, kEverything}, {0, std::nullopt}});
    DeviceCapabilities model = Loaded(devices);
    EXPECT_FALSE(model.SelectDevice(0)) << "no change is reported";
    EXPECT_EQ(model.values().device, 0) << "but the device is recorded";
    EXPECT_EQ(Forbidden(model), (std::vector<Choice>{C::Mono, C::Stereo, C::Bits8, C::Bits16, C::Method3, C::Ratio1,
                                                     C::Ratio2, C::Ratio4}));
    // The format operations change nothing but report a change.
    EXPECT_TRUE(model.SetDivisor(2));
    EXPECT_TRUE(model.SetBits(8));
    EXPECT_TRUE(model.SetChannels(1));
    PlaybackChoices expected = kEngineDefaults;
    expected.device = 0;
    EXPECT_EQ(model.values(), expected);
    EXPECT_TRUE(model.SetQuality(1));
    // A readable device gives back the channel and width choices.
    EXPECT_TRUE(model.SelectDevice(-1));
    EXPECT_EQ(Forbidden(model), std::vector<Choice>{C::Method3});
}

TEST(DeviceCapabilities, StoredValuesNoRuleTakesFallBackToTheEngineDefaults) {
    const FakeDevices devices = Devices({{-1, kEverything}});
    DeviceCapabilities model = Loaded(devices, PlaybackChoices{3, 9, 0, 24, -5, 0, -1, -7});
    EXPECT_EQ(model.values(), (PlaybackChoices{1, 2, 2, 16, -5, 0, 1, -1}));

    // A device that cannot be read keeps what the engine stored.
    const FakeDevices gone = Devices({{-1, kEverything}, {3, std::nullopt}});
    DeviceCapabilities unplugged = Loaded(gone, PlaybackChoices{2, 3, 1, 8, 20, 2, 2, 3});
    EXPECT_EQ(unplugged.values(), (PlaybackChoices{2, 3, 1, 8, 20, 2, 2, 3}));
}

TEST(DeviceCapabilities, LoadingAgainTakesTheEngineValuesBack) {
    const FakeDevices devices = Devices({{-1, kEverything}, {0, kEverything}});
    DeviceCapabilities model = Loaded(devices);
    model.SelectDevice(0);
    model.SetDivisor(4);
    model.SetQuality(3);
    model.SetBuffers(77);
    model.Load(kEngineDefaults);
    EXPECT_EQ(model.values(), kEngineDefaults);
}

// Random devices and random user actions: the invariant holds after each.
TEST(DeviceCapabilities, RandomActionSequencesKeepTheChosenValuesAllowed) {
    std::mt19937 random(20240613);
    for (int round = 0; round < 2000; ++round) {
        const auto platform = static_cast<Platform>(random() % 3);
        FakeDevices devices(platform);
        for (int device = -1; device < 3; ++device) {
            if (random() % 6 == 0)
                devices.Add(device, std::nullopt);
            else
                devices.Add(device, static_cast<std::uint32_t>(random() & 0xFFF));
        }
        DeviceCapabilities model(devices);
        const auto pick = [&](std::initializer_list<int> values) {
            return *(values.begin() + static_cast<long>(random() % values.size()));
        };
        model.Load(PlaybackChoices{pick({0, 1, 2, 3, 4}), pick({0, 1, 2, 3}), pick({0, 1, 2}), pick({0, 8, 16}),
                                   14, 2, pick({0, 1, 2, 3}), pick({-2, -1, 0, 1, 2, 5})});
        const auto state = [&] {
            return ::testing::PrintToString(model.values()) + " forbidding " +
                   ::testing::PrintToString(Forbidden(model));
        };
        ASSERT_TRUE(HoldsInvariant(model, devices)) << "round " << round << " after loading: " << state();
        for (int step = 0; step < 30; ++step) {
            const PlaybackChoices before = model.values();
            bool changed = false;
            switch (random() % 6) {
            case 0: changed = model.SelectDevice(pick({-1, 0, 1, 2})); break;
            case 1: changed = model.SetDivisor(pick({1, 2, 4})); break;
            case 2: changed = model.SetBits(pick({8, 16})); break;
            case 3: changed = model.SetChannels(pick({1, 2})); break;
            case 4: changed = model.SetQuality(pick({1, 2, 3})); break;
            default: changed = model.SetMethod(pick({1, 2, 3})); break;
            }
            ASSERT_TRUE(HoldsInvariant(model, devices)) << "round " << round << " step " << step << ": " << state();
            if (!changed) {
                PlaybackChoices unchanged = model.values();
                unchanged.device = before.device;
                ASSERT_EQ(unchanged, before) << "a refused action changed a value";
            }
        }
    }
}

} // namespace
} // namespace test
} // namespace quavera
