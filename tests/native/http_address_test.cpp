// The player's handling of HTTP addresses, typed URL texts, the response
// header values the HTTP reader trusts, and the texts it shows.
#include <gtest/gtest.h>

#include <string>

#include "http_address.h"
#include "http_header_values.h"
#include "internet_messages.h"

namespace quavera {
namespace {

TEST(HttpAddress, WebSchemesInAnyCaseAreHttpAddresses) {
    EXPECT_TRUE(IsHttpAddress("http://server/a.mp3"));
    EXPECT_TRUE(IsHttpAddress("HTTP://Server/A.mp3"));
    EXPECT_TRUE(IsHttpAddress("hTtPs://server/a.mp3"));
    EXPECT_FALSE(IsHttpAddress("ftp://server/a.mp3"));
    EXPECT_FALSE(IsHttpAddress("C:\\music\\http.mp3"));
    EXPECT_FALSE(IsHttpAddress(" http://server/a.mp3"));
    EXPECT_FALSE(IsHttpAddress("http:/server"));
    EXPECT_FALSE(IsHttpAddress(""));
}

TEST(HttpAddress, TypedTextIsCompletedAsTheUrlDialogDoes) {
    EXPECT_EQ(CompleteTypedAddress("Server/A.mp3"), "http://server/a.mp3");
    EXPECT_EQ(CompleteTypedAddress("  Server/A.mp3\t"), "http://server/a.mp3");
    EXPECT_EQ(CompleteTypedAddress("HTTP://Server/A.mp3"), "HTTP://Server/A.mp3");
    EXPECT_EQ(CompleteTypedAddress("https://Server/A.mp3"), "https://Server/A.mp3");
    // Blanks around a typed scheme would hide it from every later test.
    EXPECT_EQ(CompleteTypedAddress("  http://Server/A.mp3 "), "http://Server/A.mp3");
    EXPECT_EQ(CompleteTypedAddress("ftp://x/a.mp3"), std::nullopt);
    EXPECT_EQ(CompleteTypedAddress("server/redirect?to=ftp://x"), std::nullopt);
    EXPECT_EQ(CompleteTypedAddress(""), "http://");
}

TEST(HttpAddress, AccountHostPortAndPathAreSplit) {
    const auto address = ParseHttpAddress("http://anna:se:cret@Media.example:81/x.mp3");
    ASSERT_TRUE(address);
    EXPECT_FALSE(address->secure);
    EXPECT_TRUE(address->hasAccount);
    EXPECT_EQ(address->user, "anna");
    EXPECT_EQ(address->password, "se:cret");
    EXPECT_EQ(address->host, "Media.example");
    EXPECT_EQ(address->port, 81u);
    EXPECT_EQ(address->path, "/x.mp3");
}

TEST(HttpAddress, DefaultsAndOptionalParts) {
    auto address = ParseHttpAddress("http://server");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->path, "");
    EXPECT_EQ(address->port, 0u);
    EXPECT_FALSE(address->hasAccount);

    address = ParseHttpAddress("HTTPS://server:/a/b.mp3?x=1#part");
    ASSERT_TRUE(address);
    EXPECT_TRUE(address->secure);
    EXPECT_EQ(address->port, 0u);
    EXPECT_EQ(address->path, "/a/b.mp3?x=1");

    // An "@" in the path is no account.
    address = ParseHttpAddress("http://server/mail@home.mp3");
    ASSERT_TRUE(address);
    EXPECT_FALSE(address->hasAccount);
    EXPECT_EQ(address->host, "server");

    address = ParseHttpAddress("http://user@server/");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->user, "user");
    EXPECT_EQ(address->password, "");

    address = ParseHttpAddress("http://[::1]:8080/a.mp3");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, "[::1]");
    EXPECT_EQ(address->port, 8080u);
}

TEST(HttpAddress, PathBytesThatCannotTravelAreEncoded) {
    const auto address = ParseHttpAddress("http://server/My Song \xC4\xE9.mp3");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->path, "/My%20Song%20%C4%E9.mp3");
}

TEST(HttpAddress, AddressesThatNameNoServerAreRefused) {
    for (const std::string& text : std::initializer_list<std::string>{
             "http://", "http:///a.mp3", "http://:80/a.mp3", "http://user@/a.mp3", "http://server:0/a.mp3",
             "http://server:99999/a.mp3", "http://server:65536/", "http://server:8o/", "http://server:-1/",
             "http://@server/a.mp3", "http://:pw@server/a.mp3", "http://ser ver/a.mp3", "http://s\xE9rver/a.mp3",
             "http://server/a\r\nHost: evil.mp3", "http://server/a\x7F.mp3", "http://[::1/a.mp3",
             "http://[]/a.mp3", "http://[::1]x/a.mp3", "http://[zz]/a.mp3", "ftp://server/a.mp3",
             "http://" + std::string(256, 'h') + "/a.mp3", "http://" + std::string(129, 'u') + "@server/",
         }) {
        EXPECT_FALSE(ParseHttpAddress(text)) << text;
    }
    EXPECT_TRUE(ParseHttpAddress("http://server:65535/"));
    EXPECT_TRUE(ParseHttpAddress("http://" + std::string(255, 'h') + "/"));
}

TEST(HttpAddress, LengthIsBounded) {
    const std::string head = "http://server/";
    EXPECT_TRUE(ParseHttpAddress(head + std::string(kMaxAddressLength - head.size(), 'a')));
    EXPECT_FALSE(ParseHttpAddress(head + std::string(kMaxAddressLength - head.size() + 1, 'a')));
    EXPECT_FALSE(ParseHttpAddress(head + std::string(4000, 'a')));
}

TEST(HttpHeaderValues, ContentLengthIsADecimalNumberOnly) {
    EXPECT_EQ(ParseContentLength("12345"), 12345);
    EXPECT_EQ(ParseContentLength(" 0 "), 0);
    EXPECT_EQ(ParseContentLength("2147483648"), 2147483648LL);
    EXPECT_EQ(ParseContentLength(""), std::nullopt);
    EXPECT_EQ(ParseContentLength("-5"), std::nullopt);
    EXPECT_EQ(ParseContentLength("12abc"), std::nullopt);
    EXPECT_EQ(ParseContentLength("99999999999999999999999"), std::nullopt);
}

TEST(HttpHeaderValues, ContentRangeGivesItsFirstByte) {
    EXPECT_EQ(ParseContentRangeStart("bytes 1000-1999/2000"), 1000);
    EXPECT_EQ(ParseContentRangeStart("bytes 0-0/*"), 0);
    EXPECT_EQ(ParseContentRangeStart("bytes */2000"), std::nullopt);
    EXPECT_EQ(ParseContentRangeStart("bytes 20-10/2000"), std::nullopt);
    EXPECT_EQ(ParseContentRangeStart("items 0-1/2"), std::nullopt);
    EXPECT_EQ(ParseContentRangeStart("bytes 5-"), std::nullopt);
}

TEST(InternetMessages, ErrorTableAndStatusTexts) {
    EXPECT_EQ(InternetErrorText(12002), "Connection timeout!");
    EXPECT_EQ(InternetErrorText(12005), "Invaild URL!");
    EXPECT_EQ(InternetErrorText(12029), "Cannot connect!");
    EXPECT_EQ(InternetErrorText(12030), "Connection aborted!");
    EXPECT_EQ(InternetErrorText(12031), "Connection reset!");
    EXPECT_EQ(InternetErrorText(12033), "Invalid proxy request!");
    EXPECT_EQ(InternetErrorText(12001), "Error code 12001 returned!");
    EXPECT_EQ(InvalidAddressText(), "Invaild URL!");
    EXPECT_EQ(SendFailureText(12029), "sending request: 12029");
    EXPECT_EQ(SendFailureText(12045), "The server's certificate comes from an authority that is not trusted!");
    EXPECT_EQ(SendFailureText(12038), "The server's certificate was issued for another server name!");
    EXPECT_EQ(InternetErrorText(12045), SendFailureText(12045));
    EXPECT_EQ(ConnectionStatusText(10, "server"), "Resolving name 'server'...");
    EXPECT_EQ(ConnectionStatusText(11, "127.0.0.1"), "Name resoved (127.0.0.1)...");
    EXPECT_EQ(ConnectionStatusText(20, nullptr), "Connecting...");
    EXPECT_EQ(ConnectionStatusText(21, nullptr), "Connected...");
    EXPECT_EQ(ConnectionStatusText(40, "x"), "");
}

} // namespace
} // namespace quavera
