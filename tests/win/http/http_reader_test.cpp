// HttpStreamReader against the local test server and tinyproxy: what the
// engine reads through it, its seeks and save file, and every refusal the
// user sees, with its text.
#include <gtest/gtest.h>

#include <windows.h>

#include <wincrypt.h>

#include <algorithm>
#include <thread>

#include "http_stream_reader.h"
#include "http_test_support.h"
#include "message_box_watcher.h"

namespace quavera::test {
namespace {

constexpr const char* kFile = "long.mp2";

std::string ReadToEnd(HttpStreamReader& reader, std::uint32_t chunk = 4096) {
    std::string bytes;
    std::string buffer(chunk, '\0');
    for (;;) {
        const std::uint32_t got = reader.read(buffer.data(), chunk);
        bytes.append(buffer, 0, got);
        if (got < chunk) return bytes;
    }
}

std::string ReadCount(HttpStreamReader& reader, std::uint32_t count) {
    std::string buffer(count, '\0');
    buffer.resize(reader.read(buffer.data(), count));
    return buffer;
}

// Lets the boxes that reads on other threads post reach this thread.
void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

// The progress window of this process (other test processes may show theirs).
HWND FindProgressWindow() {
    for (HWND window = FindWindowA("QuaveraConnectionProgress", nullptr); window;
         window = FindWindowExA(nullptr, window, "QuaveraConnectionProgress", nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

class HttpReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        settingsKey_ = std::string("QuaveraTests\\HttpReader.") + info->name();
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + settingsKey_).c_str()); }

    void SetSetting(const char* name, const std::string& text) {
        RegSetKeyValueA(HKEY_CURRENT_USER, ("Software\\" + settingsKey_).c_str(), name, REG_SZ, text.c_str(),
                        static_cast<DWORD>(text.size() + 1));
    }
    void SetSetting(const char* name, DWORD value) {
        RegSetKeyValueA(HKEY_CURRENT_USER, ("Software\\" + settingsKey_).c_str(), name, REG_DWORD, &value,
                        sizeof value);
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const ShownBox& box : boxes_.boxes()) {
            EXPECT_EQ(box.caption, "Error!");
            texts.push_back(box.text);
        }
        return texts;
    }
    // Opening the address fails with exactly this box.
    void ExpectRefusal(const std::string& address, const std::string& text) {
        SCOPED_TRACE(address);
        HttpStreamReader reader(settingsKey_);
        boxes_.clear();
        EXPECT_EQ(reader.open(address.c_str()), 0);
        EXPECT_EQ(Boxes(), std::vector<std::string>{text});
        EXPECT_EQ(reader.read(buffer_, sizeof buffer_), 0u);
        EXPECT_EQ(reader.seek(0), 0);
    }

    std::string settingsKey_;
    MessageBoxWatcher boxes_{IDOK};
    char buffer_[256] = {};
};

TEST_F(HttpReaderTest, ReadsTheWholeBodyAndKnowsItsLength) {
    const std::string served = ServedBytes(kFile);
    ASSERT_GT(served.size(), 50000u);
    HttpStreamReader reader(settingsKey_);
    const std::string url = TestUrl("files", kFile);
    ASSERT_EQ(reader.open(url.c_str()), 1);
    EXPECT_STREQ(reader.name(), url.c_str());
    EXPECT_EQ(reader.length(), static_cast<std::int32_t>(served.size()));
    EXPECT_EQ(reader.seek(0), 1) << "the engine seeks to the start before it reads";
    EXPECT_EQ(ReadToEnd(reader, 3000), served);
    EXPECT_EQ(reader.tell(), static_cast<std::int32_t>(served.size()));
    EXPECT_EQ(reader.read(buffer_, sizeof buffer_), 0u);
    EXPECT_EQ(reader.read(nullptr, 0), 0u);
    EXPECT_EQ(reader.fileChanged(), 0);
    EXPECT_EQ(reader.close(), 1);
    EXPECT_EQ(reader.tell(), 0);
    EXPECT_EQ(reader.close(), 1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(HttpReaderTest, SeeksRequestTheRestOfTheFileFromTheServer) {
    const std::string served = ServedBytes(kFile);
    const auto size = static_cast<std::int32_t>(served.size());
    HttpStreamReader reader(settingsKey_);
    ASSERT_EQ(reader.open(TestUrl("files", kFile).c_str()), 1);
    EXPECT_EQ(ReadCount(reader, 1000), served.substr(0, 1000));
    ASSERT_EQ(reader.seek(50000), 1);
    EXPECT_EQ(reader.tell(), 50000);
    EXPECT_EQ(ReadCount(reader, 4096), served.substr(50000, 4096));
    ASSERT_EQ(reader.seek(10), 1);
    EXPECT_EQ(ReadCount(reader, 100), served.substr(10, 100));
    EXPECT_EQ(reader.seek(size + 1), 0) << "beyond the end";
    EXPECT_EQ(reader.seek(-1), 0);
    EXPECT_EQ(reader.tell(), 110) << "a refused seek leaves the position";
    EXPECT_EQ(ReadCount(reader, 10), served.substr(110, 10));
    ASSERT_EQ(reader.seek(size), 1) << "the end itself can be reached";
    EXPECT_EQ(reader.read(buffer_, sizeof buffer_), 0u);
    ASSERT_EQ(reader.seek(size - 5), 1);
    EXPECT_EQ(ReadToEnd(reader), served.substr(size - 5));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_NE(HttpRunFile("requests.log").find("GET /files/long.mp2 range=bytes=50000-"), std::string::npos);
}

TEST_F(HttpReaderTest, ServerThatIgnoresRangesStillGivesTheRightBytes) {
    const std::string served = ServedBytes(kFile);
    HttpStreamReader reader(settingsKey_);
    ASSERT_EQ(reader.open(TestUrl("norange", kFile).c_str()), 1);
    ASSERT_EQ(reader.seek(40000), 1);
    EXPECT_EQ(ReadCount(reader, 2000), served.substr(40000, 2000));
    ASSERT_EQ(reader.seek(70000), 1);
    EXPECT_EQ(ReadCount(reader, 2000), served.substr(70000, 2000));
    ASSERT_EQ(reader.seek(5), 1);
    EXPECT_EQ(ReadToEnd(reader), served.substr(5));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(HttpReaderTest, BodyWithoutLengthPlaysButSeeksOnlyToItsStart) {
    const std::string served = ServedBytes(kFile);
    HttpStreamReader reader(settingsKey_);
    ASSERT_EQ(reader.open(TestUrl("nolength", kFile).c_str()), 1);
    EXPECT_EQ(reader.length(), 0);
    EXPECT_EQ(ReadCount(reader, 5000), served.substr(0, 5000));
    EXPECT_EQ(reader.seek(1000), 0);
    ASSERT_EQ(reader.seek(0), 1);
    EXPECT_EQ(ReadToEnd(reader), served);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(HttpReaderTest, SaveFileMirrorsEveryByteAtItsPlace) {
    const std::string served = ServedBytes(kFile);
    const std::string path = TempFolder() + "quavera-http-save.mp2";
    for (const char* kind : {"files", "norange"}) {
        SCOPED_TRACE(kind);
        {
            HttpStreamReader reader(settingsKey_);
            reader.setPendingSaveFile(CreateSaveFile(path.c_str()));
            ASSERT_EQ(reader.open(TestUrl(kind, kFile).c_str()), 1);
            EXPECT_EQ(ReadCount(reader, 20000).size(), 20000u);
            ASSERT_EQ(reader.seek(60000), 1);
            ReadToEnd(reader);
            ASSERT_EQ(reader.seek(20000), 1);
            EXPECT_EQ(ReadCount(reader, 40000).size(), 40000u);
        }
        EXPECT_EQ(FileContent(path), served);
    }
    DeleteFileA(path.c_str());
    // A save file that could not be made leaves the stream readable.
    HttpStreamReader reader(settingsKey_);
    reader.setPendingSaveFile(CreateSaveFile("Z:\\no\\such\\folder\\x.mp2"));
    ASSERT_EQ(reader.open(TestUrl("files", kFile).c_str()), 1);
    EXPECT_EQ(ReadToEnd(reader), served);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(HttpReaderTest, ServerAnswersOtherThanTheFileAreExplained) {
    const std::string missing = TestUrl("files", "missing.mp2");
    ExpectRefusal(missing, "URL '" + missing + "' not found");
    ExpectRefusal(TestUrl("error"), "Query error 500");
    ExpectRefusal(TestUrl("auth", kFile), "Query error 401");
    ExpectRefusal(TestUrl("auth", kFile).insert(7, "anna:wrong@"), "Query error 401");
}

TEST_F(HttpReaderTest, AddressesThatNameNoServerAreRefusedBeforeConnecting) {
    for (const std::string& address : std::initializer_list<std::string>{
             "http://", "http:///a.mp3", "http://server:0/a.mp3", "http://server:99999/a.mp3", "http://@server/a.mp3",
             "http://s\xE9rver/a.mp3", "http://server/a\r\nX: y", "http://server/" + std::string(4000, 'a')}) {
        ExpectRefusal(address, "Invaild URL!");
    }
}

TEST_F(HttpReaderTest, AccountComesFromTheAddressOrTheSettings) {
    const std::string served = ServedBytes(kFile);
    {
        HttpStreamReader reader(settingsKey_);
        ASSERT_EQ(reader.open(TestUrl("auth", kFile).insert(7, "anna:secret@").c_str()), 1);
        EXPECT_EQ(ReadToEnd(reader), served);
    }
    SetSetting("User", "anna");
    SetSetting("Password", "secret");
    {
        HttpStreamReader reader(settingsKey_);
        ASSERT_EQ(reader.open(TestUrl("auth", kFile).c_str()), 1);
        EXPECT_EQ(reader.seek(30000), 1) << "a seek's request carries the account too";
        EXPECT_EQ(ReadToEnd(reader), served.substr(30000));
    }
    EXPECT_TRUE(Boxes().empty());
    // The address's account wins over the settings.
    ExpectRefusal(TestUrl("auth", kFile).insert(7, "anna:wrong@"), "Query error 401");
}

TEST_F(HttpReaderTest, ProxyFromTheSettingsCarriesRequestAndSeek) {
    SetSetting("Proxy", "127.0.0.1");
    SetSetting("ProxyPort", static_cast<DWORD>(std::stoul(ProxyPort())));
    const std::string served = ServedBytes("stereo128.mp3");
    const std::string url = TestUrl("files", "stereo128.mp3");
    HttpStreamReader reader(settingsKey_);
    ASSERT_EQ(reader.open(url.c_str()), 1) << ::testing::PrintToString(Boxes());
    EXPECT_EQ(ReadCount(reader, 100), served.substr(0, 100));
    ASSERT_EQ(reader.seek(20000), 1);
    EXPECT_EQ(ReadToEnd(reader), served.substr(20000));
    EXPECT_TRUE(Boxes().empty());
    const std::string log = HttpRunFile("tinyproxy.log");
    EXPECT_NE(log.find("GET " + url + " HTTP/1.1"), std::string::npos) << "tinyproxy's log shows no request";
    // A proxy that is not there.
    SetSetting("ProxyPort", 1u);
    ExpectRefusal(url, "sending request: 12029");
}

TEST_F(HttpReaderTest, ServerThatIsNotThereCannotBeConnected) {
    ExpectRefusal("http://127.0.0.1:1/a.mp3", "sending request: 12029");
}

TEST_F(HttpReaderTest, StalledServerEndsInTheTimeOut) {
    HttpStreamReader reader(settingsKey_);
    reader.setTimeout(1500);
    DWORD start = GetTickCount();
    EXPECT_EQ(reader.open(TestUrl("stall-headers", kFile).c_str()), 0);
    EXPECT_LT(GetTickCount() - start, 10000u);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].rfind("sending request: ", 0), 0u) << Boxes()[0];

    boxes_.clear();
    ASSERT_EQ(reader.open(TestUrl("stall-body", kFile).c_str()), 1);
    start = GetTickCount();
    EXPECT_EQ(ReadToEnd(reader).size(), 16384u);
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Connection timeout!"});
    EXPECT_EQ(reader.seek(0), 0) << "the connection is closed after the error";
}

TEST_F(HttpReaderTest, BodiesCutShortEndWithTheConnectionMessage) {
    const std::string served = ServedBytes(kFile);
    struct Case {
        const char* kind;
        std::size_t bytes;
        std::vector<std::string> texts;
    };
    for (const Case& c : {Case{"drop", served.size() / 3, {"Connection reset!", "Connection aborted!"}},
                          Case{"short", served.size() / 2, {"Connection aborted!"}},
                          Case{"huge", 1024, {"Connection aborted!"}}}) {
        SCOPED_TRACE(c.kind);
        boxes_.clear();
        HttpStreamReader reader(settingsKey_);
        reader.setTimeout(5000);
        ASSERT_EQ(reader.open(TestUrl(c.kind, kFile).c_str()), 1);
        const std::string bytes = ReadToEnd(reader);
        EXPECT_LE(bytes.size(), c.bytes);
        if (std::string(c.kind) != "huge") {
            EXPECT_EQ(bytes, served.substr(0, bytes.size()));
        }
        const auto texts = Boxes();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_NE(std::find(c.texts.begin(), c.texts.end(), texts[0]), c.texts.end()) << texts[0];
    }
}

TEST_F(HttpReaderTest, LengthsBeyondTheStatusRecordAreCapped) {
    HttpStreamReader reader(settingsKey_);
    reader.setTimeout(5000);
    ASSERT_EQ(reader.open(TestUrl("huge").c_str()), 1);
    EXPECT_EQ(reader.length(), 0x7FFFFFFF);
    reader.close();
}

// Each reader has its own connection: one can play on another thread while
// another opens, seeks and reads, as the queue's scan and the track
// properties do during playback.
TEST_F(HttpReaderTest, ReadersOnTwoThreadsDoNotShareTheirConnection) {
    const std::string first = ServedBytes(kFile);
    const std::string second = ServedBytes("stereo128.mp3");
    HttpStreamReader playing(settingsKey_);
    ASSERT_EQ(playing.open(TestUrl("files", kFile).c_str()), 1);
    std::string played;
    std::thread refresh([&] {
        char chunk[1000];
        for (std::uint32_t got; (got = playing.read(chunk, sizeof chunk)) != 0;) {
            played.append(chunk, got);
            Sleep(1);
        }
    });
    for (int round = 0; round < 3; ++round) {
        HttpStreamReader query(settingsKey_);
        ASSERT_EQ(query.open(TestUrl("files", "stereo128.mp3").c_str()), 1);
        EXPECT_EQ(ReadCount(query, 3000), second.substr(0, 3000));
        ASSERT_EQ(query.seek(10000 + round), 1);
        EXPECT_EQ(ReadCount(query, 3000), second.substr(10000 + round, 3000));
    }
    refresh.join();
    EXPECT_EQ(played, first);
    Pump(200);
    EXPECT_TRUE(Boxes().empty());
}

// A failure of a read on another thread (the engine's refresh) is shown on
// the reader's own thread, where the player's window lives.
TEST_F(HttpReaderTest, ReadFailureOnAnotherThreadIsShownOnTheReadersThread) {
    HttpStreamReader reader(settingsKey_);
    ASSERT_EQ(reader.open(TestUrl("short", kFile).c_str()), 1);
    DWORD readingThread = 0;
    std::thread refresh([&] {
        readingThread = GetCurrentThreadId();
        ReadToEnd(reader);
    });
    refresh.join();
    EXPECT_TRUE(Boxes().empty()) << "no box on the reading thread";
    Pump(1000);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Connection aborted!"});
}

// The progress window shows each step while the connection is made: here it
// waits for a server that never answers.
TEST_F(HttpReaderTest, ProgressWindowShowsTheConnectionSteps) {
    HttpStreamReader reader(settingsKey_);
    reader.setTimeout(3000);
    std::thread opening([&] { reader.open(TestUrl("stall-headers", kFile).c_str()); });
    // The opening thread is busy in WinInet: read without sending it messages.
    const auto textOf = [](HWND window) {
        wchar_t text[128] = {};
        InternalGetWindowText(window, text, 128);
        return std::string(text, text + wcslen(text));
    };
    bool shown = false;
    std::string caption;
    std::string text;
    for (int waited = 0; waited < 3000 && text != "Connected..."; waited += 20) {
        Sleep(20);
        if (const HWND progress = FindProgressWindow()) {
            shown = true;
            caption = textOf(progress);
            text = textOf(GetWindow(progress, GW_CHILD));
        }
    }
    opening.join();
    EXPECT_TRUE(shown);
    EXPECT_EQ(caption, "Internet connection");
    EXPECT_EQ(text, "Connected...");
    EXPECT_EQ(FindProgressWindow(), nullptr) << "closed after the open";
}

// https: the test authority of servers.sh is trusted while the test runs, in
// the test session's own Wine prefix and only there.
class HttpsReaderTest : public HttpReaderTest {
protected:
    void SetUp() override {
        HttpReaderTest::SetUp();
        const std::string pem = HttpRunFile("ca.pem");
        DWORD size = sizeof authority_;
        ASSERT_TRUE(CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, authority_, &size, nullptr,
                                         nullptr));
        authoritySize_ = size;
        // Into the user's stored root certificates, where every chain check looks.
        ASSERT_TRUE(CertAddEncodedCertificateToSystemStoreA("Root", authority_, authoritySize_));
    }
    void TearDown() override {
        const HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
        if (const PCCERT_CONTEXT added = CertCreateCertificateContext(X509_ASN_ENCODING, authority_, authoritySize_)) {
            if (const PCCERT_CONTEXT stored = CertFindCertificateInStore(root, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                                         added, nullptr))
                CertDeleteCertificateFromStore(stored);
            CertFreeCertificateContext(added);
        }
        if (root) CertCloseStore(root, 0);
        HttpReaderTest::TearDown();
    }

    BYTE authority_[8192] = {};
    DWORD authoritySize_ = 0;
};

TEST_F(HttpsReaderTest, TrustedServerIsReadAndSeekedOverTls) {
    const std::string served = ServedBytes(kFile);
    HttpStreamReader reader(settingsKey_);
    ASSERT_EQ(reader.open(TestUrl("files", kFile, "trusted").c_str()), 1) << ::testing::PrintToString(Boxes());
    EXPECT_EQ(reader.length(), static_cast<std::int32_t>(served.size()));
    EXPECT_EQ(ReadCount(reader, 5000), served.substr(0, 5000));
    ASSERT_EQ(reader.seek(60000), 1);
    EXPECT_EQ(ReadToEnd(reader), served.substr(60000));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_NE(HttpRunFile("requests.log").find("trusted GET /files/long.mp2 range=bytes=60000-"), std::string::npos);
}

TEST_F(HttpsReaderTest, CertificatesThatCannotBeTrustedAreRefusedWithTheirReason) {
    ExpectRefusal(TestUrl("files", kFile, "untrusted"),
                  "The server's certificate comes from an authority that is not trusted!");
    std::string otherName = TestUrl("files", kFile, "trusted");
    otherName.replace(otherName.find("localhost"), 9, "127.0.0.1");
    ExpectRefusal(otherName, "The server's certificate was issued for another server name!");
    // Plain HTTP to a TLS server: it hangs up without an answer, while the
    // request is sent or before the answer's status line.
    HttpStreamReader reader(settingsKey_);
    boxes_.clear();
    EXPECT_EQ(reader.open(TestUrl("files", kFile, "trusted").replace(0, 5, "http").c_str()), 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0] == "sending request: 12030" || Boxes()[0] == "Connection aborted!") << Boxes()[0];
}

} // namespace
} // namespace quavera::test
