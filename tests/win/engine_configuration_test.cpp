// Playback settings as the engine stores them in the registry.
#include <array>

#include "engine_fixture.h"
#include "winbasic.h"

namespace quavera::test {
namespace {

using Settings = std::array<int, 8>;

Settings ReadSettings() {
    Settings s{};
    tamblin::ReadPlaybackConfiguration(&s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &s[7]);
    return s;
}

class EngineConfiguration : public EngineTest {};

TEST_F(EngineConfiguration, FreshRegistryGivesTheDefaults) {
    EXPECT_EQ(ReadSettings(), (Settings{1, 2, 2, 16, 14, 2, 1, -1}));
}

TEST_F(EngineConfiguration, SaveStoresEveryValueTheKeyTextAndTurnsThePerformanceCheckOn) {
    ASSERT_TRUE(WriteRegInt(location_.c_str(), "CheckSystemPerformance", 0));
    configure(4, 3, 1, 8, 64, 16, 3, 2);
    EXPECT_EQ(ReadSettings(), (Settings{4, 3, 1, 8, 64, 16, 3, 2}));

    DWORD check = 7;
    ASSERT_TRUE(ReadRegInt(location_.c_str(), "CheckSystemPerformance", &check));
    EXPECT_EQ(check, 1u);
    char text[128] = {};
    ASSERT_TRUE(ReadRegString(location_.c_str(), "", text));
    EXPECT_STREQ(text, "Configuration for Quavera MPEG-audio player");
    DWORD divisor = 0;
    ASSERT_TRUE(ReadRegInt(location_.c_str(), "FrequencyDivisor", &divisor));
    EXPECT_EQ(divisor, 4u);
}

TEST_F(EngineConfiguration, SavingDoesNotValidate) {
    configure(3, 0, 5, 12, 1, 99, 7, 1000);
    EXPECT_EQ(ReadSettings(), (Settings{3, 0, 5, 12, 1, 99, 7, 1000}));
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(EngineConfiguration, ValuesOfTheWrongTypeOrSizeReadAsTheirDefaults) {
    configure(4, 3, 1, 8, 64, 16, 3, 2);
    RegKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\" + location_).c_str(), 0, KEY_SET_VALUE,
                            key.receive()),
              ERROR_SUCCESS);
    const char text[] = "4";
    RegSetValueExA(key.get(), "FrequencyDivisor", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    const BYTE two[2] = {3, 0};
    RegSetValueExA(key.get(), "Quality", 0, REG_BINARY, two, sizeof two);
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    RegSetValueExA(key.get(), "Channels", 0, REG_QWORD, eight, sizeof eight);
    const BYTE binaryFour[4] = {8, 0, 0, 0};
    RegSetValueExA(key.get(), "BitsPerSample", 0, REG_BINARY, binaryFour, sizeof binaryFour);

    EXPECT_EQ(ReadSettings(), (Settings{1, 2, 2, 16, 64, 16, 3, 2}));
}

TEST_F(EngineConfiguration, NullPointersAreSkipped) {
    configure(2, 1, 2, 16);
    int quality = 0;
    tamblin::ReadPlaybackConfiguration(nullptr, &quality, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(quality, 1);
}

TEST_F(EngineConfiguration, RegistryLocationMovesEveryValue) {
    configure(4, 3, 1, 8, 64, 16, 3, 2);
    const std::string other = location_ + "\\Elsewhere";
    tamblin::SetRegistryLocation(other.c_str());
    EXPECT_EQ(ReadSettings(), (Settings{1, 2, 2, 16, 14, 2, 1, -1}));
    configure(2, 1, 2, 16, 8, 4, 2, -1);
    EXPECT_EQ(ReadSettings(), (Settings{2, 1, 2, 16, 8, 4, 2, -1}));

    tamblin::SetRegistryLocation(location_.c_str());
    EXPECT_EQ(ReadSettings(), (Settings{4, 3, 1, 8, 64, 16, 3, 2}));
}

TEST_F(EngineConfiguration, UnusableLocationShowsTheRegistryErrorAndReadsDefaults) {
    // Far beyond what a key path may hold: the engine keeps 255 characters of
    // it, the registry refuses the key, and every write says so.
    std::string longName = location_;
    while (longName.size() < 4000) longName += "\\" + std::string(250, 'x');
    tamblin::SetRegistryLocation(longName.c_str());
    configure(2, 1, 2, 16);
    EXPECT_EQ(ReadSettings(), (Settings{1, 2, 2, 16, 14, 2, 1, -1}));
    const auto boxes = boxes_.boxes();
    ASSERT_EQ(boxes.size(), 10u) << "the key text, eight values and the performance check";
    EXPECT_EQ(boxes[0].text, "Cannot create registry entry");
    EXPECT_EQ(boxes[0].caption, "Error!");

    tamblin::SetRegistryLocation(location_.c_str());
    configure(2, 1, 2, 16);
    EXPECT_EQ(ReadSettings()[0], 2);
}

TEST_F(EngineConfiguration, SaveUpdatesTheStatusRecordWhileNothingPlays) {
    configure(1, 2, 2, 16);
    ASSERT_EQ(open(StreamPath("stereo128.mp2")), 1);
    configure(2, 3, 1, 8);
    const StreamStatus* status = tamblin::GetPlaybackStatus();
    EXPECT_EQ(status->outputRate, 22050);
    EXPECT_EQ(status->streamRate, 44100);
    EXPECT_EQ(status->outputChannels, 1);
    EXPECT_EQ(status->bitsPerSample, 8);
    EXPECT_EQ(status->quality, 3);
}

} // namespace
} // namespace quavera::test
