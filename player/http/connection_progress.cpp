#include "connection_progress.h"

#include <commctrl.h>

namespace quavera {
namespace {

constexpr const char* kClassName = "QuaveraConnectionProgress";
constexpr int kWidth = 320;
constexpr int kHeight = 110;
constexpr int kMargin = 12;
constexpr int kLine = 20;
// Paint messages of windows that never validate must not hold the
// connection up.
constexpr int kMaxPumpedMessages = 64;

void RegisterClassOnce(HINSTANCE instance) {
    static const bool registered = [instance] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_WAIT);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace

void ConnectionProgress::Show(HWND owner, const char* caption, int steps) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterClassOnce(instance);
    RECT area{};
    if (!owner || !GetWindowRect(owner, &area)) GetWindowRect(GetDesktopWindow(), &area);
    const int x = (area.left + area.right - kWidth) / 2;
    const int y = (area.top + area.bottom - kHeight) / 2;
    window_.reset(CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, caption, WS_POPUP | WS_CAPTION, x, y, kWidth,
                                  kHeight, owner, nullptr, instance, nullptr));
    if (!window_) return;
    RECT client{};
    GetClientRect(window_.get(), &client);
    const int width = client.right - 2 * kMargin;
    text_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kMargin,
                            kMargin, width, kLine, window_.get(), nullptr, instance, nullptr);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, kMargin, kMargin + kLine + 8, width, kLine,
                           window_.get(), nullptr, instance, nullptr);
    SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(1, steps));
    SendMessageA(bar_, PBM_SETSTEP, 1, 0);
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window_.get());
}

void ConnectionProgress::Step(const std::string& text) {
    if (!window_) return;
    SetWindowTextA(text_, text.c_str());
    SendMessageA(bar_, PBM_STEPIT, 0, 0);
    // Only painting and the window's own messages: a command handled now
    // would run in the middle of the connection that this window shows.
    MSG message;
    for (int i = 0; i < kMaxPumpedMessages && PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageA(&message);
    for (int i = 0; i < kMaxPumpedMessages && PeekMessageA(&message, window_.get(), 0, 0, PM_REMOVE); ++i)
        DispatchMessageA(&message);
}

} // namespace quavera
