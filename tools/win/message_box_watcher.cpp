#include "message_box_watcher.h"

#include <chrono>

namespace quavera::test {
namespace {

BOOL CALLBACK FindIcon(HWND child, LPARAM icon) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HICON*>(icon) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return FALSE;
}

IconKind IconOf(HWND box) {
    HICON icon = nullptr;
    EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&icon));
    if (!icon) return IconKind::None;
    if (icon == LoadIcon(nullptr, IDI_ERROR)) return IconKind::Error;
    if (icon == LoadIcon(nullptr, IDI_WARNING)) return IconKind::Warning;
    if (icon == LoadIcon(nullptr, IDI_QUESTION)) return IconKind::Question;
    if (icon == LoadIcon(nullptr, IDI_INFORMATION)) return IconKind::Information;
    return IconKind::None;
}

// Collects the visible dialog windows of this process: message boxes.
BOOL CALLBACK CollectBox(HWND window, LPARAM boxes) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && std::string(className) == "#32770" && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    return TRUE;
}

std::string TextOf(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer)
    : answer_(answer), thread_([this](std::stop_token stop) { run(stop); }) {}

MessageBoxWatcher::~MessageBoxWatcher() = default;

std::vector<ShownBox> MessageBoxWatcher::boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<std::string> MessageBoxWatcher::texts() const {
    std::vector<std::string> result;
    for (const ShownBox& box : boxes()) result.push_back(box.text);
    return result;
}

void MessageBoxWatcher::clear() {
    std::lock_guard lock(mutex_);
    boxes_.clear();
}

void MessageBoxWatcher::answerBox(HWND box) {
    ShownBox shown;
    shown.caption = TextOf(box);
    // The text of a message box is the static control with id 0xFFFF.
    if (HWND text = GetDlgItem(box, 0xFFFF)) shown.text = TextOf(text);
    shown.icon = IconOf(box);
    {
        std::lock_guard lock(mutex_);
        boxes_.push_back(shown);
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_.load(), BN_CLICKED), 0);
}

void MessageBoxWatcher::run(std::stop_token stop) {
    std::vector<HWND> answered;
    while (!stop.stop_requested()) {
        std::vector<HWND> found;
        EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&found));
        for (HWND box : found) {
            bool seen = false;
            for (HWND done : answered) seen = seen || done == box;
            if (seen) continue;
            answered.push_back(box);
            answerBox(box);
        }
        // Handles of closed boxes may be reused by later ones.
        std::erase_if(answered, [](HWND box) { return !IsWindow(box) || !IsWindowVisible(box); });
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace quavera::test
