#pragma once
// Observes the message boxes this process shows and answers them, so that
// tests see every text and never block on a box.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quavera::test {

enum class IconKind { None, Error, Warning, Question, Information };

struct ShownBox {
    std::string caption;
    std::string text;
    IconKind icon = IconKind::None;
};

class MessageBoxWatcher {
public:
    // answer: the button to press (IDOK, IDYES, IDNO, IDCANCEL).
    explicit MessageBoxWatcher(int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    void setAnswer(int answer) { answer_ = answer; }
    std::vector<ShownBox> boxes() const;
    std::vector<std::string> texts() const;
    void clear();

private:
    void run(std::stop_token stop);
    void answerBox(HWND box);

    std::atomic<int> answer_;
    mutable std::mutex mutex_;
    std::vector<ShownBox> boxes_;
    std::jthread thread_;
};

} // namespace quavera::test
