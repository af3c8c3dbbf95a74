// Playback state through the exports, on the capturing device (which plays
// faster than real time, so these tests pace themselves on messages).
#include "engine_fixture.h"
#include "winbasic.h"

namespace quavera::test {
namespace {

class EnginePlayback : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "EnginePlaybackTest";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("EnginePlaybackTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    }
    void TearDown() override {
        EngineTest::TearDown();
        DestroyWindow(window_);
    }
    int openWithWindow(const std::string& path, DWORD tickMs = 1000) {
        return tamblin::OpenStream(3, window_, path.c_str(), &reader_, tickMs);
    }
    // Waits for an engine command, counting the position messages on the way.
    bool waitFor(WPARAM command, DWORD timeoutMs = 30000) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            MSG message;
            while (PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
                if (message.message != WM_COMMAND) continue;
                EXPECT_EQ(reinterpret_cast<StreamStatus*>(message.lParam), tamblin::GetPlaybackStatus());
                if (message.wParam == CMD_POSITION) ++positions_;
                if (message.wParam == command) return true;
            }
            Sleep(5);
        }
        return false;
    }
    HWND window_ = nullptr;
    int positions_ = 0;
};

TEST_F(EnginePlayback, PlaysToTheEndAndCanStartAgain) {
    ASSERT_EQ(openWithWindow(StreamPath("long.mp2")), 1);
    EXPECT_EQ(tamblin::GetPlaybackStatus()->position, 0.0f);
    ASSERT_EQ(tamblin::StartPlayback(), 1);
    EXPECT_EQ(tamblin::StartPlayback(), 0) << "already playing";
    EXPECT_EQ(tamblin::GetPlaybackStatus()->playing, 1);
    ASSERT_TRUE(waitFor(CMD_STREAM_END));
    const StreamStatus* s = tamblin::GetPlaybackStatus();
    EXPECT_EQ(s->playing, 0);
    EXPECT_EQ(s->position, 0.0f);
    EXPECT_GE(positions_, 5);
    EXPECT_EQ(tamblin::StopPlayback(0), 0) << "the end leaves nothing open";

    positions_ = 0;
    ASSERT_EQ(tamblin::StartPlayback(), 1) << "a remembered stream reopens";
    ASSERT_TRUE(waitFor(CMD_STREAM_END));
    EXPECT_GE(positions_, 5);

    // The device outlives the stream until the caller closes it.
    WORD left = 0;
    EXPECT_EQ(tamblin::GetVolume(&left, nullptr), 1);
    EXPECT_EQ(tamblin::StopPlayback(1), 0) << "nothing was open";
    EXPECT_EQ(tamblin::GetVolume(&left, nullptr), 0) << "but the device is closed";
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(EnginePlayback, PauseResumeAndTheirResults) {
    EXPECT_EQ(tamblin::PausePlayback(), 0);
    EXPECT_EQ(tamblin::ResumePlayback(), 0);
    ASSERT_EQ(openWithWindow(StreamPath("long.mp2")), 1);
    EXPECT_EQ(tamblin::PausePlayback(), 0) << "open but not started";
    ASSERT_EQ(tamblin::StartPlayback(), 1);
    ASSERT_EQ(tamblin::PausePlayback(), 1);
    EXPECT_EQ(tamblin::GetPlaybackStatus()->paused, 1);
    EXPECT_EQ(tamblin::ResumePlayback(), 1);
    EXPECT_EQ(tamblin::ResumePlayback(), 0);
    ASSERT_EQ(tamblin::PausePlayback(), 1);
    EXPECT_EQ(tamblin::StartPlayback(), 1) << "starting a paused stream resumes it";
    EXPECT_EQ(tamblin::GetPlaybackStatus()->paused, 0);
    EXPECT_EQ(tamblin::ResumePlayback(), 0);
    EXPECT_EQ(tamblin::StartPlayback(), 0) << "already playing";
    ASSERT_TRUE(waitFor(CMD_STREAM_END));
}

TEST_F(EnginePlayback, SeekBeyondTheEndIsRefusedAndWhileStoppedOnlyMoves) {
    ASSERT_EQ(openWithWindow(StreamPath("long.mp2")), 1);
    const auto total = static_cast<DWORD>(tamblin::GetPlaybackStatus()->totalTime);
    EXPECT_EQ(tamblin::SeekPlayback(total), 0);
    EXPECT_EQ(tamblin::SeekPlayback(total + 1000), 0);
    EXPECT_EQ(tamblin::SeekPlayback(4000), 1);
    EXPECT_EQ(tamblin::GetPlaybackStatus()->playing, 0);
    ASSERT_EQ(tamblin::StartPlayback(), 1);
    ASSERT_TRUE(waitFor(CMD_STREAM_END));
    // Two seconds are left after the seek: at most two ticks, not six.
    EXPECT_LE(positions_, 3);
}

TEST_F(EnginePlayback, StopRewindsAndCloseForgets) {
    ASSERT_EQ(openWithWindow(StreamPath("long.mp2")), 1);
    ASSERT_EQ(tamblin::StartPlayback(), 1);
    ASSERT_TRUE(waitFor(CMD_POSITION));
    EXPECT_EQ(tamblin::StopPlayback(0), 1);
    EXPECT_EQ(tamblin::GetPlaybackStatus()->playing, 0);
    EXPECT_EQ(tamblin::GetPlaybackStatus()->position, 0.0f);
    EXPECT_EQ(tamblin::StopPlayback(0), 0);
    EXPECT_EQ(tamblin::StartPlayback(), 1) << "stop keeps the path for a restart";
    EXPECT_EQ(tamblin::CloseStream(), 1);
    EXPECT_EQ(tamblin::StartPlayback(), 0) << "close forgets the path";
}

// A reader that makes decoding look slow: every read after the open waits.
class SlowReader final : public InputSource {
public:
    int open(const char* name) override { return file_.open(name); }
    int close() override { return file_.close(); }
    std::uint32_t read(void* buffer, std::uint32_t count) override {
        if (slow) Sleep(2000);
        return file_.read(buffer, count);
    }
    int seek(std::int32_t position) override { return file_.seek(position); }
    std::int32_t tell() override { return file_.tell(); }
    std::int32_t length() override { return file_.length(); }
    const char* name() override { return file_.name(); }
    int fileChanged() override { return 0; }
    bool slow = false;

private:
    FileReader file_;
};

class PerformanceCheck : public EnginePlayback {
protected:
    // Four blocks of sixteen frames: the prefill needs at least one refill of
    // the input, and a block lasts 417 ms at 44.1 kHz.
    void SetUp() override {
        EnginePlayback::SetUp();
        configure(1, 2, 2, 16, 4, 16);
    }
    int startSlowly() {
        slow_.slow = false;
        if (!tamblin::OpenStream(3, window_, StreamPath("long.mp2").c_str(), &slow_, 1000)) return -1;
        slow_.slow = true;
        return tamblin::StartPlayback();
    }
    std::vector<ShownBox> performanceBoxes() const {
        std::vector<ShownBox> result;
        for (const ShownBox& box : boxes_.boxes())
            if (box.caption == "Quavera performance") result.push_back(box);
        return result;
    }
    static SlowReader slow_;
};
SlowReader PerformanceCheck::slow_;

TEST_F(PerformanceCheck, CancelStartsNothing) {
    boxes_.setAnswer(IDCANCEL);
    EXPECT_EQ(startSlowly(), 0);
    const auto shown = performanceBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("Our preformance test result shows that your system is not\n", 0), 0u);
    EXPECT_NE(shown[0].text.find("We need less than 417ms processing time per audioblock,\n"), std::string::npos);
    EXPECT_EQ(tamblin::GetPlaybackStatus()->playing, 0);
    EXPECT_EQ(tamblin::StopPlayback(0), 0) << "a cancelled start leaves nothing open";
}

TEST_F(PerformanceCheck, NoSilencesTheWarningUntilTheNextSave) {
    boxes_.setAnswer(IDNO);
    ASSERT_EQ(startSlowly(), 1);
    ASSERT_EQ(performanceBoxes().size(), 1u);
    DWORD check = 1;
    ASSERT_TRUE(ReadRegInt(location_.c_str(), "CheckSystemPerformance", &check));
    EXPECT_EQ(check, 0u);
    tamblin::StopPlayback(0);
    tamblin::CloseStream();

    ASSERT_EQ(startSlowly(), 1);
    EXPECT_EQ(performanceBoxes().size(), 1u) << "no second warning";
    tamblin::StopPlayback(0);
    tamblin::CloseStream();

    configure(1, 2, 2, 16, 4, 16);
    ASSERT_EQ(startSlowly(), 1);
    EXPECT_EQ(performanceBoxes().size(), 2u) << "a save turns the warning back on";
}

} // namespace
} // namespace quavera::test
