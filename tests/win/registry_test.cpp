// The registry helpers shared by the player and the engine.
#include <gtest/gtest.h>

#include <string>

#include "handles.h"
#include "winbasic.h"

namespace quavera {
namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::string("QuaveraTests\\Registry.") + info->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + path_).c_str());
    }
    void setRaw(const char* name, DWORD type, const void* data, DWORD size) {
        RegKey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\" + path_).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, key.receive(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    std::string path_;
};

TEST_F(Registry, IntegersAndStringsRoundTrip) {
    ASSERT_TRUE(WriteRegInt(path_.c_str(), "Volume", 0xFFFF));
    ASSERT_TRUE(WriteRegString(path_.c_str(), "RecentFile", "C:\\music\\a b.mp3"));
    DWORD volume = 0;
    EXPECT_TRUE(ReadRegInt(path_.c_str(), "Volume", &volume));
    EXPECT_EQ(volume, 0xFFFFu);
    int negative = 0;
    ASSERT_TRUE(WriteRegInt(path_.c_str(), "WaveOutDevice", static_cast<DWORD>(-1)));
    EXPECT_TRUE(ReadRegInt(path_.c_str(), "WaveOutDevice", &negative));
    EXPECT_EQ(negative, -1);
    char text[128] = {};
    EXPECT_TRUE(ReadRegString(path_.c_str(), "RecentFile", text));
    EXPECT_STREQ(text, "C:\\music\\a b.mp3");
}

TEST_F(Registry, MissingKeyOrValueLeavesTheDestinationAlone) {
    DWORD value = 42;
    EXPECT_FALSE(ReadRegInt(path_.c_str(), "Volume", &value));
    EXPECT_EQ(value, 42u);
    WriteRegInt(path_.c_str(), "Other", 1);
    EXPECT_FALSE(ReadRegInt(path_.c_str(), "Volume", &value));
    EXPECT_EQ(value, 42u);
    char text[128] = "default";
    EXPECT_FALSE(ReadRegString(path_.c_str(), "RecentFile", text));
    EXPECT_STREQ(text, "default");
}

TEST_F(Registry, StringsOfMoreThan127CharactersReadAsMissing) {
    const std::string fits(127, 'a');
    const std::string tooLong(128, 'b');
    WriteRegString(path_.c_str(), "Fits", fits.c_str());
    WriteRegString(path_.c_str(), "TooLong", tooLong.c_str());
    char text[128] = "untouched";
    EXPECT_TRUE(ReadRegString(path_.c_str(), "Fits", text));
    EXPECT_EQ(std::string(text), fits);
    char other[128] = "untouched";
    EXPECT_FALSE(ReadRegString(path_.c_str(), "TooLong", other));
    EXPECT_STREQ(other, "untouched");
}

TEST_F(Registry, WrongTypesAndSizesReadAsMissing) {
    const char digits[] = "12";
    setRaw("Text", REG_SZ, digits, sizeof digits);
    const BYTE shortValue[2] = {1, 0};
    setRaw("Short", REG_BINARY, shortValue, sizeof shortValue);
    const BYTE longValue[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    setRaw("Long", REG_QWORD, longValue, sizeof longValue);
    const DWORD number = 5;
    setRaw("Number", REG_DWORD, &number, sizeof number);
    // 128 bytes without a terminating zero cannot be a text of 127 characters.
    const std::string unterminated(128, 'c');
    setRaw("Unterminated", REG_SZ, unterminated.data(), 128);

    DWORD value = 9;
    EXPECT_FALSE(ReadRegInt(path_.c_str(), "Text", &value));
    EXPECT_FALSE(ReadRegInt(path_.c_str(), "Short", &value));
    EXPECT_FALSE(ReadRegInt(path_.c_str(), "Long", &value));
    EXPECT_EQ(value, 9u);
    char text[128] = "untouched";
    EXPECT_FALSE(ReadRegString(path_.c_str(), "Number", text));
    EXPECT_FALSE(ReadRegString(path_.c_str(), "Unterminated", text));
    EXPECT_STREQ(text, "untouched");
}

} // namespace
} // namespace quavera
