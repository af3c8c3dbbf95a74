#include "notification_area.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "player_driver.h"

namespace quavera::test {
namespace {

// The tool a tooltip control shows its tip for, and the tip, read in the
// memory of the process that owns the control: the messages carry pointers
// that only mean something there.
bool ReadTool(HWND tooltip, HWND* tool, std::string* tip) {
    DWORD process = 0;
    GetWindowThreadProcessId(tooltip, &process);
    const HANDLE owner = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!owner) return false;
    struct Block {
        TTTOOLINFOW info;
        wchar_t text[128];
    };
    auto* remote =
        static_cast<Block*>(VirtualAllocEx(owner, nullptr, sizeof(Block), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    Block block{};
    block.info.cbSize = sizeof block.info;
    block.info.lpszText = remote ? remote->text : nullptr;
    SIZE_T moved = 0;
    DWORD_PTR found = 0;
    const bool read = remote && WriteProcessMemory(owner, remote, &block, sizeof block, &moved) &&
                      SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&remote->info),
                                          SMTO_ABORTIFHUNG, 2000, &found) &&
                      found && ReadProcessMemory(owner, remote, &block, sizeof block, &moved);
    if (remote) VirtualFreeEx(owner, remote, 0, MEM_RELEASE);
    CloseHandle(owner);
    if (!read) return false;
    block.text[std::size(block.text) - 1] = L'\0';
    char text[256] = {};
    WideCharToMultiByte(CP_ACP, 0, block.text, -1, text, sizeof text, nullptr, nullptr);
    *tool = block.info.hwnd;
    *tip = text;
    return true;
}

BOOL CALLBACK CollectTip(HWND window, LPARAM parameter) {
    auto* tips = reinterpret_cast<std::map<HWND, std::string>*>(parameter);
    HWND tool = nullptr;
    std::string tip;
    if (ClassOf(window) == TOOLTIPS_CLASSA && ReadTool(window, &tool, &tip)) (*tips)[tool] = tip;
    return TRUE;
}

POINT Middle(HWND icon) {
    RECT rect{};
    GetClientRect(icon, &rect);
    return {rect.right / 2, rect.bottom / 2};
}

void PostMouse(HWND icon, UINT message, WPARAM keys) {
    const POINT at = Middle(icon);
    PostMessageA(icon, message, keys, MAKELPARAM(at.x, at.y));
}

} // namespace

std::vector<NotificationIcon> NotificationIcons() {
    const HWND area = FindWindowA("__winex11_standalone_tray", nullptr);
    if (!area || !IsWindowVisible(area)) return {};
    std::vector<NotificationIcon> icons;
    for (HWND child = GetWindow(area, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) icons.push_back({child, {}});
    const auto left = [](const NotificationIcon& icon) {
        RECT rect{};
        GetWindowRect(icon.window, &rect);
        return rect.left;
    };
    std::sort(icons.begin(), icons.end(), [&](const auto& a, const auto& b) { return left(a) < left(b); });
    std::map<HWND, std::string> tips;
    EnumWindows(CollectTip, reinterpret_cast<LPARAM>(&tips));
    for (NotificationIcon& icon : icons) icon.tip = tips[icon.window];
    return icons;
}

std::vector<std::string> NotificationTips() {
    std::vector<std::string> tips;
    for (const NotificationIcon& icon : NotificationIcons()) tips.push_back(icon.tip);
    return tips;
}

void ClickIcon(HWND icon) {
    PostMouse(icon, WM_LBUTTONDOWN, MK_LBUTTON);
    PostMouse(icon, WM_LBUTTONUP, 0);
}

void DoubleClickIcon(HWND icon) {
    ClickIcon(icon);
    PostMouse(icon, WM_LBUTTONDBLCLK, MK_LBUTTON);
    PostMouse(icon, WM_LBUTTONUP, 0);
}

void RightClickIcon(HWND icon) {
    PostMouse(icon, WM_RBUTTONDOWN, MK_RBUTTON);
    PostMouse(icon, WM_RBUTTONUP, 0);
}

std::vector<COLORREF> IconPixels(HWND icon) {
    RECT rect{};
    GetWindowRect(icon, &rect);
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    for (LONG y = rect.top; y < rect.bottom; ++y)
        for (LONG x = rect.left; x < rect.right; ++x) pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace quavera::test
