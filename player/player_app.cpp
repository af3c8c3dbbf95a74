#include "player_app.h"

#include <commctrl.h>

#include <vector>

#include "player_dialog.h"

namespace quavera {
namespace {

// The version resource is looked up by the plain program name, as installed.
ProgramVersion ReadProgramVersion() {
    constexpr const char* kProgramFile = "quavera.exe";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(kProgramFile, &ignored);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(kProgramFile, 0, size, data.data())) return {};
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\StringFileInfo\\000004b0\\ProductVersion", &value, &length) || !value ||
        length == 0)
        return {};
    // The resource's text need not end inside the block it reports.
    const std::string text(static_cast<const char*>(value), strnlen(static_cast<const char*>(value), length));
    return ParseProductVersion(text.c_str());
}

} // namespace

PlayerApp::PlayerApp(HINSTANCE instance) : instance_(instance) {
    constexpr DWORD kMaxModulePath = 256;
    char path[kMaxModulePath + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    modulePath_.assign(path, length < sizeof path ? length : kMaxModulePath);
    const std::size_t slash = modulePath_.rfind('\\');
    if (slash != std::string::npos) directory_ = modulePath_.substr(0, slash + 1);
    version_ = ReadProgramVersion();
}

int PlayerApp::Run(const char* commandLine) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    PlayerDialog dialog(*this, commandLine ? commandLine : "");
    if (!dialog.Start()) return 0;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        const HWND window = dialog.window();
        if (window && TranslateAcceleratorA(window, dialog.accelerators(), &message)) continue;
        if (window && IsDialogMessageA(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

} // namespace quavera
