// The queue with web addresses: a playlist named by an address is copied
// and played, its address entries play through the HTTP reader, and their
// scan asks the server only when the settings want it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "http_test_support.h"
#include "player_driver.h"

namespace quavera::test {
namespace {

using PlayerQueueHttp = PlayerTest;

TEST_F(PlayerQueueHttp, APlaylistAtAnAddressIsCopiedAndItsEntriesPlayInTurn) {
    const std::string text =
        "#EXTM3U\r\n#EXTINF:-1,Web long\r\n" + TestUrl("files", "long.mp2") + "\r\n" + StreamPath("tone120.mp2") + "\r\n";
    PlayerProcess player("/p " + ServeFile("quavera-web.m3u", text));
    const HWND main = player.WaitForCaption("Quavera - Web long", 10000);
    ASSERT_NE(main, nullptr) << "the address entry plays through the HTTP reader";
    EXPECT_EQ(ListBoxLines(main, kTrackList), (std::vector<std::string>{"1. Web long", "2. tone120"}));
    EXPECT_EQ(ItemText(main, kTotalTime), "1:59min ") << "the address's length is not asked for";
    EXPECT_EQ(FileContent(TempFolder() + "quavera-web.m3u"), text) << "the copy in the temporary folder";
    // At the end of the address's stream the local track follows.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) == "Quavera - tone120"; }, 20000)) << WindowText(main);
    EXPECT_EQ(ItemText(main, kTrackNumber), "2 ");
    const std::string log = HttpRunFile("requests.log");
    EXPECT_NE(log.find("GET /files/quavera-web.m3u"), std::string::npos);
    EXPECT_NE(log.find("GET /files/long.mp2"), std::string::npos);
}

TEST_F(PlayerQueueHttp, AddressEntriesAreScannedWhenTheSettingsAskForIt) {
    SetRegInt(kConfigurationKey, "SkipHTTPFileScan", 0);
    const std::string list = WriteTempFile("quavera-scan-web.m3u", TestUrl("files", "long.mp2") + "\r\n" +
                                                                         StreamPath("tone1.mp2") + "\r\n");
    PlayerProcess player(list);
    const HWND main = player.WaitForCaption("Quavera - long (stopped)", 10000);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ListBoxLines(main, kTrackList), (std::vector<std::string>{"1. long", "2. tone1"}));
    EXPECT_EQ(ItemText(main, kTotalTime), "0:07min ") << "6 s from the server, 1 s from the file";
}

} // namespace
} // namespace quavera::test
