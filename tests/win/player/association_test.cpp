// The start-up check of the shell's file associations, under the test
// prefix's HKEY_CLASSES_ROOT: silent registration when no file type is the
// player's, the question when some are, the class keys as they are written,
// and the shell's "play" verb starting the player on a file, which plays.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "player_driver.h"

namespace quavera::test {
namespace {

constexpr const char* kCheckCaption = "Quavera Configuration check";
constexpr const char* kQuestion =
    "Quavera has detected that one or more of the supported file types are not associated with Quavera.\n\n"
    "Should Quavera be associated with these files?";
constexpr int kDoNotAsk = 1070;
constexpr const char* kMissing = "<missing>";
constexpr const char* kAudioClass = "Quavera.AudioFile";
constexpr const char* kPlaylistClass = "Quavera.PlaylistFile";

std::string ClassesValue(const std::string& key) {
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return kMissing;
    return text;
}

void SetClassesValue(const std::string& key, const std::string& text) {
    RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::string KeyClass(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return kMissing;
    char keyClass[64] = {};
    DWORD size = sizeof keyClass;
    RegQueryInfoKeyA(handle, keyClass, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(handle);
    return keyClass;
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// The keys and default values the registration writes, as the shell reads them.
Entries Registration() {
    const std::string program = PlayerPath();
    Entries entries;
    for (const char* extension : {".mp2", ".mp3", ".l2", ".l3"}) entries.emplace_back(extension, kAudioClass);
    for (const char* extension : {".pls", ".m3u"}) entries.emplace_back(extension, kPlaylistClass);
    for (const auto& [name, description, icon] : {std::tuple{kAudioClass, "Quavera MPEG audio file", ", 0"},
                                                 std::tuple{kPlaylistClass, "Quavera playlist file", ", 3"}}) {
        const std::string key = name;
        entries.insert(entries.end(), {{key, description},
                                       {key + "\\DefaultIcon", program + icon},
                                       {key + "\\shell", "play"},
                                       {key + "\\shell\\play", "Play"},
                                       {key + "\\shell\\play\\command", "\"" + program + "\" /play %1"},
                                       {key + "\\shell\\open", "Open"},
                                       {key + "\\shell\\open\\command", "\"" + program + "\" %1"}});
    }
    return entries;
}

Entries Stored(const Entries& keys) {
    Entries stored;
    for (const auto& [key, value] : keys) stored.emplace_back(key, ClassesValue(key));
    return stored;
}

class Associations : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        RemoveAssociations();
        SetRegInt(kConfigurationKey, "CheckExtentions", 1);
    }
    void TearDown() override {
        RemoveAssociations();
        PlayerTest::TearDown();
    }

    static void RemoveAssociations() {
        for (const char* key : {".mp2", ".mp3", ".l2", ".l3", ".pls", ".m3u", kAudioClass, kPlaylistClass})
            RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    }

    // A player started without a file that comes up without asking.
    static void StartWithoutQuestion() {
        PlayerProcess player("");
        EXPECT_NE(player.WaitForMainWindow(), nullptr);
        EXPECT_EQ(player.WaitForBox(kCheckCaption, 0), nullptr);
    }

    // A player started without a file, whose question gets the answer; then
    // its main dialog comes.
    template <typename Answer>
    static void StartAndAnswer(Answer answer) {
        PlayerProcess player("");
        const HWND box = player.WaitForBox(kCheckCaption);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(player.WaitForMainWindow(100), nullptr) << "the question comes before the main dialog";
        const std::vector<std::string> texts = StaticTexts(box);
        EXPECT_NE(std::find(texts.begin(), texts.end(), kQuestion), texts.end());
        answer(player, box);
        EXPECT_NE(player.WaitForMainWindow(), nullptr);
    }
};

TEST_F(Associations, NoTypeOfThePlayersIsRegisteredSilentlyAndThenNothingIsAsked) {
    StartWithoutQuestion();
    const Entries expected = Registration();
    EXPECT_EQ(Stored(expected), expected);
    EXPECT_EQ(KeyClass(".mp3"), "String");
    EXPECT_EQ(KeyClass(std::string(kPlaylistClass) + "\\shell\\open\\command"), "String");
    StartWithoutQuestion();
}

TEST_F(Associations, AnotherProgramsMp3AsksNoKeepsItAndTheTickedBoxEndsTheCheck) {
    StartWithoutQuestion();
    SetClassesValue(".mp3", "Other.Player.File");
    StartAndAnswer([](PlayerProcess& player, HWND box) {
        SaveScreenshot(box, "association-question");
        player.Answer(box, IDNO);
    });
    EXPECT_EQ(ClassesValue(".mp3"), "Other.Player.File");
    EXPECT_EQ(StoredSetting("CheckExtentions"), 1u);

    StartAndAnswer([](PlayerProcess& player, HWND box) {
        Click(box, kDoNotAsk);
        EXPECT_TRUE(WaitUntil([] { return StoredSetting("CheckExtentions") == 0; }, 2000));
        Click(box, kDoNotAsk);
        EXPECT_TRUE(WaitUntil([] { return StoredSetting("CheckExtentions") == 1; }, 2000));
        Click(box, kDoNotAsk);
        EXPECT_TRUE(WaitUntil([] { return StoredSetting("CheckExtentions") == 0; }, 2000));
        player.Answer(box, IDNO);
    });
    StartWithoutQuestion();
    EXPECT_EQ(ClassesValue(".mp3"), "Other.Player.File");
}

TEST_F(Associations, YesSetsTheExtensionsAndMakesOnlyMissingClasses) {
    StartWithoutQuestion();
    const std::string audio = kAudioClass;
    RegDeleteTreeA(HKEY_CLASSES_ROOT, (audio + "\\shell").c_str());
    SetClassesValue(".l2", "Other.Player.File");
    StartAndAnswer([](PlayerProcess& player, HWND box) { player.Answer(box, IDYES); });
    EXPECT_EQ(ClassesValue(".l2"), kAudioClass);
    EXPECT_EQ(KeyClass(audio + "\\shell"), kMissing) << "a class that exists is left as it is";
    EXPECT_EQ(ClassesValue(audio), "Quavera MPEG audio file");

    // Every extension in place, but a class missing: asked too.
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kPlaylistClass);
    StartAndAnswer([](PlayerProcess& player, HWND box) { player.Answer(box, IDYES); });
    Entries expected = Registration();
    std::erase_if(expected, [&](const auto& entry) { return entry.first.rfind(audio + "\\shell", 0) == 0; });
    EXPECT_EQ(Stored(expected), expected);
}

TEST_F(Associations, TheShellsPlayVerbStartsThePlayerWhichPlaysTheFile) {
    StartWithoutQuestion();
    const std::string name = TempFolder() + "shell play.mp3";
    ASSERT_TRUE(CopyFileA(StreamPath("tone120.mp2").c_str(), name.c_str(), FALSE));
    DeleteFileA(CapturePath().c_str());
    SHELLEXECUTEINFOA shell{};
    shell.cbSize = sizeof shell;
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    shell.lpVerb = "play";
    shell.lpFile = name.c_str();
    shell.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&shell));
    ASSERT_NE(shell.hProcess, nullptr);
    {
        PlayerProcess player(shell.hProcess);
        EXPECT_NE(player.WaitForCaption("Quavera - shell play"), nullptr);
        EXPECT_TRUE(WaitUntil(CaptureHasSound, 10000));
    }
    DeleteFileA(name.c_str());
}

} // namespace
} // namespace quavera::test
