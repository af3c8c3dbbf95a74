#include "player_driver.h"

#include <commctrl.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace quavera::test {
namespace {

// The folder of the test programs, which Quavera.exe shares: <tree>\bin\.
std::string BinFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string exe = path;
    return exe.substr(0, exe.rfind('\\') + 1);
}

} // namespace

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string StreamPath(const char* name) {
    const std::string relative = BinFolder() + "..\\test-streams\\player\\" + name;
    char full[MAX_PATH] = {};
    GetFullPathNameA(relative.c_str(), sizeof full, full, nullptr);
    return full;
}

std::string PlayerPath() { return BinFolder() + "Quavera.exe"; }

std::string CapturePath() {
    const char* unix = std::getenv("QUAVERA_CAPTURE");
    if (!unix) return {};
    std::string path = std::string("Z:") + unix;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::vector<short> CapturedSamples(std::size_t most) {
    std::vector<short> samples(most);
    FILE* file = std::fopen(CapturePath().c_str(), "rb");
    if (!file) return {};
    samples.resize(std::fread(samples.data(), sizeof(short), samples.size(), file));
    std::fclose(file);
    return samples;
}

bool CaptureHasSound() {
    int loud = 0;
    for (const short sample : CapturedSamples())
        if (sample > 1000 || sample < -1000) ++loud;
    return loud > 1000;
}

void PlayerTest::SetUp() { ResetPlayerSettings(); }
void PlayerTest::TearDown() { ResetPlayerSettings(); }

void CaptureTest::SetUp() {
    PlayerTest::SetUp();
    ASSERT_FALSE(CapturePath().empty()) << "QUAVERA_CAPTURE names the capture file of the test session";
}

void RemovePlayerSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brixlane\\Quavera"); }

void ResetPlayerSettings() {
    RemovePlayerSettings();
    SetRegString(kPlaybackKey, "Version", kProgramVersion);
    SetRegInt(kConfigurationKey, "CheckExtentions", 0);
}

void SetRegInt(const char* key, const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value);
}

void SetRegString(const char* key, const char* name, const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool GetRegInt(const char* key, const char* name, DWORD* value) {
    DWORD size = sizeof *value;
    return RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, value, &size) == ERROR_SUCCESS;
}

DWORD StoredSetting(const char* name, DWORD missing) {
    DWORD value = missing;
    GetRegInt(kConfigurationKey, name, &value);
    return value;
}

bool GetRegString(const char* key, const char* name, std::string* text) {
    char buffer[8192] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    *text = buffer;
    return true;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    for (int waited = 0;; waited += 25) {
        if (condition()) return true;
        if (waited >= timeoutMs) return false;
        Sleep(25);
    }
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    return text;
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void PostCommand(HWND dialog, int id, WORD code) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool IsChecked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return state == BST_CHECKED;
}

namespace {

LRESULT Query(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

LRESULT SliderQuery(HWND dialog, int id, UINT message, WPARAM wParam = 0) {
    return Query(GetDlgItem(dialog, id), message, wParam);
}

// Item i of a list or drop-down list. The texts cross the process boundary
// as wide texts (Wine hands them so even to an ANSI call).
std::string ItemString(HWND list, UINT lengthMessage, UINT textMessage, LRESULT i) {
    wchar_t wide[1024] = {};
    DWORD_PTR ignored = 0;
    if (Query(list, lengthMessage, static_cast<WPARAM>(i)) < static_cast<LRESULT>(std::size(wide)))
        SendMessageTimeoutW(list, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide),
                            SMTO_ABORTIFHUNG, 2000, &ignored);
    char text[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

} // namespace

void DoubleClick(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    DoubleClickAt(dialog, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void DoubleClickAt(HWND dialog, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(dialog, WM_LBUTTONUP, 0, at);
    PostMessageA(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(dialog, WM_LBUTTONUP, 0, at);
}

bool IsPushed(HWND dialog, int id) { return (Query(GetDlgItem(dialog, id), BM_GETSTATE) & BST_PUSHED) != 0; }

std::vector<std::string> ListItems(HWND dialog, int id) {
    const HWND list = GetDlgItem(dialog, id);
    std::vector<std::string> items;
    const auto count = Query(list, CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) items.push_back(ItemString(list, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
    return items;
}

int ListSelection(HWND dialog, int id) { return static_cast<int>(Query(GetDlgItem(dialog, id), CB_GETCURSEL)); }

void PressKeys(HWND dialog, int id, const std::vector<UINT>& keys) {
    const HWND control = GetDlgItem(dialog, id);
    Query(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    for (const UINT key : keys) {
        PostMessageA(control, WM_KEYDOWN, key, 1);
        PostMessageA(control, WM_KEYUP, key, 0xC0000001);
    }
}

namespace {

bool BringToForeground(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 2000);
}

INPUT MouseInput(POINT at, DWORD flags) {
    // Absolute positions run from 0 to 65535 across the screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + height / 2) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

} // namespace

bool PressChord(HWND window, std::initializer_list<WORD> keys) {
    if (!BringToForeground(window)) return false;
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool DragMouse(HWND window, POINT from, POINT to) {
    if (!BringToForeground(window)) return false;
    constexpr int kSteps = 8;
    std::vector<INPUT> inputs = {MouseInput(from, MOUSEEVENTF_MOVE), MouseInput(from, MOUSEEVENTF_LEFTDOWN)};
    for (int step = 1; step <= kSteps; ++step) {
        const POINT between{from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps};
        inputs.push_back(MouseInput(between, MOUSEEVENTF_MOVE));
    }
    inputs.push_back(MouseInput(to, MOUSEEVENTF_LEFTUP));
    // One at a time, so that the window follows each move as a hand would.
    for (INPUT& input : inputs) {
        if (SendInput(1, &input, sizeof input) != 1) return false;
        Sleep(30);
    }
    return true;
}

void ChooseListItem(HWND dialog, int id, int index) {
    std::vector<UINT> keys = {VK_HOME};
    keys.insert(keys.end(), static_cast<std::size_t>(index), VK_DOWN);
    PressKeys(dialog, id, keys);
}

void TypeText(HWND dialog, int id, const std::string& text) {
    const HWND edit = GetDlgItem(dialog, id);
    Query(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    if (text.empty()) PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    for (const char c : text) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(Query(sheet, PSM_GETCURRENTPAGEHWND)); }

HWND ShowPage(HWND sheet, int index) {
    Query(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index));
    const HWND tab = reinterpret_cast<HWND>(Query(sheet, PSM_GETTABCONTROL));
    if (Query(tab, TCM_GETCURSEL) != index) return nullptr;
    return CurrentPage(sheet);
}

namespace {

// Where the slider draws a value, from the pixel positions of its first and
// last inner ticks (the pointer-free queries work across processes).
bool SliderPixel(HWND dialog, int id, unsigned value, POINT& point) {
    const auto ticks = static_cast<int>(SliderQuery(dialog, id, TBM_GETNUMTICS));
    if (ticks < 4) return false;
    const auto firstValue = static_cast<double>(SliderQuery(dialog, id, TBM_GETTIC, 0));
    const auto lastValue = static_cast<double>(SliderQuery(dialog, id, TBM_GETTIC, static_cast<WPARAM>(ticks - 3)));
    const auto firstX = static_cast<double>(SliderQuery(dialog, id, TBM_GETTICPOS, 0));
    const auto lastX = static_cast<double>(SliderQuery(dialog, id, TBM_GETTICPOS, static_cast<WPARAM>(ticks - 3)));
    if (lastValue <= firstValue) return false;
    RECT client{};
    GetClientRect(GetDlgItem(dialog, id), &client);
    point.x = static_cast<LONG>(firstX + (value - firstValue) * (lastX - firstX) / (lastValue - firstValue) + 0.5);
    // The thumb of a slider with its ticks below sits in the upper part.
    point.y = client.bottom * 2 / 5;
    return true;
}

void PostMouse(HWND window, UINT message, POINT point, WPARAM keys) {
    PostMessageA(window, message, keys, MAKELPARAM(point.x, point.y));
}

} // namespace

unsigned SliderPosition(HWND dialog, int id) { return static_cast<unsigned>(SliderQuery(dialog, id, TBM_GETPOS)); }

unsigned SliderMaximum(HWND dialog, int id) {
    return static_cast<unsigned>(SliderQuery(dialog, id, TBM_GETRANGEMAX));
}

bool DragSliderThumb(HWND dialog, int id, unsigned value) {
    POINT from{};
    POINT to{};
    if (!SliderPixel(dialog, id, SliderPosition(dialog, id), from) || !SliderPixel(dialog, id, value, to))
        return false;
    const HWND slider = GetDlgItem(dialog, id);
    PostMouse(slider, WM_LBUTTONDOWN, from, MK_LBUTTON);
    for (int step = 1; step <= 4; ++step) {
        const POINT between{from.x + (to.x - from.x) * step / 4, from.y};
        PostMouse(slider, WM_MOUSEMOVE, between, MK_LBUTTON);
        Sleep(30);
    }
    PostMouse(slider, WM_LBUTTONUP, to, 0);
    return true;
}

bool ClickSliderChannel(HWND dialog, int id, unsigned value) {
    POINT at{};
    if (!SliderPixel(dialog, id, value, at)) return false;
    const HWND slider = GetDlgItem(dialog, id);
    PostMouse(slider, WM_LBUTTONDOWN, at, MK_LBUTTON);
    PostMouse(slider, WM_LBUTTONUP, at, 0);
    return true;
}

int TimeTextSeconds(const std::string& text) {
    unsigned minutes = 0;
    unsigned seconds = 0;
    char sign = 0;
    if (std::sscanf(text.c_str(), " %u:%2umin", &minutes, &seconds) == 2) return static_cast<int>(minutes * 60 + seconds);
    if (std::sscanf(text.c_str(), "%c%u:%2umin", &sign, &minutes, &seconds) == 3 && sign == '-')
        return static_cast<int>(minutes * 60 + seconds);
    return -1;
}

namespace {

// The middle of line i of a list box, in its client coordinates.
POINT ListLinePoint(HWND dialog, int id, int line) {
    const HWND list = GetDlgItem(dialog, id);
    const auto top = static_cast<int>(Query(list, LB_GETTOPINDEX));
    const auto height = static_cast<int>(Query(list, LB_GETITEMHEIGHT));
    return {10, (line - top) * height + height / 2};
}

} // namespace

std::string ListBoxLine(HWND dialog, int id, int line) {
    return ItemString(GetDlgItem(dialog, id), LB_GETTEXTLEN, LB_GETTEXT, line);
}

int ListBoxCount(HWND dialog, int id) { return static_cast<int>(Query(GetDlgItem(dialog, id), LB_GETCOUNT)); }

std::vector<std::string> ListBoxLines(HWND dialog, int id) {
    std::vector<std::string> lines;
    for (int i = 0, count = ListBoxCount(dialog, id); i < count; ++i) lines.push_back(ListBoxLine(dialog, id, i));
    return lines;
}

int ListBoxSelection(HWND dialog, int id) { return static_cast<int>(Query(GetDlgItem(dialog, id), LB_GETCURSEL)); }

void DoubleClickListLine(HWND dialog, int id, int line) {
    const HWND list = GetDlgItem(dialog, id);
    const POINT at = ListLinePoint(dialog, id, line);
    PostMouse(list, WM_LBUTTONDOWN, at, MK_LBUTTON);
    PostMouse(list, WM_LBUTTONUP, at, 0);
    PostMouse(list, WM_LBUTTONDBLCLK, at, MK_LBUTTON);
    PostMouse(list, WM_LBUTTONUP, at, 0);
}

POINT ListLineOnScreen(HWND dialog, int id, int line) {
    POINT at = ListLinePoint(dialog, id, line);
    ClientToScreen(GetDlgItem(dialog, id), &at);
    return at;
}

void RightClickListLine(HWND dialog, int id, int line) {
    const HWND list = GetDlgItem(dialog, id);
    const POINT at = ListLinePoint(dialog, id, line);
    PostMouse(list, WM_RBUTTONDOWN, at, MK_RBUTTON);
    PostMouse(list, WM_RBUTTONUP, at, 0);
}

bool IsShown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

std::string TempFolder() {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return folder;
}

std::string WriteTempFile(const std::string& name, const std::string& content) {
    const std::string path = TempFolder() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string FileContent(const std::string& name) {
    std::ostringstream text;
    text << std::ifstream(name, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<std::string> StaticTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static" && IsWindowVisible(child)) texts.push_back(WindowText(child));
    return texts;
}

void SaveScreenshot(HWND window, const char* name) {
    char dirBuffer[MAX_PATH] = {};
    GetFullPathNameA((BinFolder() + "..\\..\\screenshots").c_str(), sizeof dirBuffer, dirBuffer, nullptr);
    const std::string dir = dirBuffer;
    CreateDirectoryA(dir.c_str(), nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(300);
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageSize;
    const std::string path = dir + "\\" + name + ".bmp";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&header, sizeof header, 1, file);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file);
        std::fwrite(bits, imageSize, 1, file);
        std::fclose(file);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

PlayerProcess::PlayerProcess(HANDLE process) : process_(process), id_(process ? GetProcessId(process) : 0) {
    if (process_) WaitForInputIdle(process_, 5000);
}

PlayerProcess::PlayerProcess(const std::string& arguments) {
    const std::string exe = PlayerPath();
    std::string line = "\"" + exe + "\"";
    if (!arguments.empty()) line += " " + arguments;
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    WaitForInputIdle(process_, 5000);
}

PlayerProcess::~PlayerProcess() {
    if (!process_) return;
    if (!Close()) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

bool PlayerProcess::Close() {
    if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return true;
    if (HWND main = FindWindowOf([](HWND w) { return GetDlgItem(w, kOpen) != nullptr; }))
        PostCommand(main, kExit);
    return WaitForSingleObject(process_, 5000) == WAIT_OBJECT_0;
}

namespace {

struct WindowSearch {
    DWORD process;
    const char* windowClass;
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window) || ClassOf(window) != search->windowClass) return TRUE;
    if (!(*search->match)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND PlayerProcess::FindWindowOf(const std::function<bool(HWND)>& match, const char* windowClass) const {
    WindowSearch search{id_, windowClass, &match, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND PlayerProcess::WaitForMainWindow(int timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowOf([](HWND w) { return GetDlgItem(w, kOpen) != nullptr; });
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

HWND PlayerProcess::WaitForCaption(const std::string& caption, int timeoutMs) {
    const HWND main = WaitForMainWindow(timeoutMs);
    return main && WaitUntil([&] { return WindowText(main) == caption; }, timeoutMs) ? main : nullptr;
}

HWND PlayerProcess::WaitForBox(const char* caption, int timeoutMs) {
    const std::string wanted = caption;
    return WaitForWindow([&](HWND w) { return GetDlgItem(w, kOpen) == nullptr && WindowText(w) == wanted; },
                         timeoutMs);
}

HWND PlayerProcess::WaitForWindow(const std::function<bool(HWND)>& match, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(match)) != nullptr; }, timeoutMs);
    return found;
}

std::string PlayerProcess::Answer(HWND box, int button) {
    const std::string text = ItemText(box, kMessageBoxText);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return text;
}

bool PlayerProcess::DropFiles(HWND window, const std::vector<std::string>& files) {
    std::string block(sizeof(DROPFILES), '\0');
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->pt = {10, 10};
    for (const std::string& file : files) block.append(file).append(1, '\0');
    block.append(1, '\0');
    // The handle of a drop is the player's own memory: the list is written
    // there, as the shell does for the window it drops on.
    void* remote = VirtualAllocEx(process_, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    if (!remote || !WriteProcessMemory(process_, remote, block.data(), block.size(), &written) ||
        written != block.size())
        return false;
    return PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != FALSE;
}

HWND PlayerProcess::WaitForMenu(int timeoutMs) {
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = FindWindowOf([](HWND) { return true; }, "#32768")) != nullptr; }, timeoutMs);
    return menu;
}

bool PlayerProcess::ChooseMenuItem(int position, int timeoutMs) {
    const HWND menu = WaitForMenu(timeoutMs);
    if (!menu) return false;
    for (int i = 0; i < position; ++i) {
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYUP, VK_DOWN, 0);
    }
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(menu, WM_KEYUP, VK_RETURN, 0);
    return WaitUntil([&] { return FindWindowOf([](HWND) { return true; }, "#32768") == nullptr; }, timeoutMs);
}

void PlayerProcess::CloseMenu() {
    if (const HWND menu = FindWindowOf([](HWND) { return true; }, "#32768")) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 0);
    }
}

bool PlayerProcess::WaitForExit(int timeoutMs) {
    return WaitUntil(
        [&] {
            if (FindWindowOf([](HWND) { return true; })) showedWindow_ = true;
            return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
}

} // namespace quavera::test
