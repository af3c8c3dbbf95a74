#include "winbasic.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "handles.h"

namespace quavera {
namespace {

std::string KeyPath(const char* relativePath) {
    return std::string("Software\\") + (relativePath ? relativePath : "");
}

RegKey CreateKey(const char* relativePath, const char* keyClass) {
    RegKey key;
    const std::string path = KeyPath(relativePath);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, const_cast<char*>(keyClass),
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS) {
        ShowError(nullptr, "Cannot create registry entry");
        key.reset();
    }
    return key;
}

RegKey OpenKey(const char* relativePath) {
    RegKey key;
    const std::string path = KeyPath(relativePath);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        key.reset();
    return key;
}

} // namespace

bool WriteRegString(const char* relativePath, const char* valueName, const char* text) {
    const RegKey key = CreateKey(relativePath, "String");
    if (!key) return false;
    const auto bytes = static_cast<DWORD>(std::strlen(text) + 1);
    return RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          bytes) == ERROR_SUCCESS;
}

bool WriteRegInt(const char* relativePath, const char* valueName, DWORD value) {
    const RegKey key = CreateKey(relativePath, "Integer");
    if (!key) return false;
    return RegSetValueExA(key.get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool ReadRegString(const char* relativePath, const char* valueName, char* destination) {
    const RegKey key = OpenKey(relativePath);
    if (!key) return false;
    char scratch[128];
    DWORD type = 0;
    DWORD size = sizeof scratch;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(scratch),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    // A value stored without its terminating zero must still fit with one.
    const std::size_t length = strnlen(scratch, size);
    if (length >= sizeof scratch) return false;
    std::memcpy(destination, scratch, length);
    destination[length] = '\0';
    return true;
}

bool ReadRegInt(const char* relativePath, const char* valueName, DWORD* destination) {
    const RegKey key = OpenKey(relativePath);
    if (!key) return false;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return false;
    *destination = value;
    return true;
}

bool ReadRegInt(const char* relativePath, const char* valueName, int* destination) {
    DWORD value = 0;
    if (!ReadRegInt(relativePath, valueName, &value)) return false;
    *destination = static_cast<int>(value);
    return true;
}

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
    if (owner) SetForegroundWindow(owner);
    return MessageBoxA(owner, text, caption, type | MB_TASKMODAL | MB_SETFOREGROUND);
}

namespace {
// Long enough for every fixed text with a file name of MAX_PATH characters;
// longer results are cut, never overrun.
constexpr std::size_t kMessageSize = 1024;

void FormatMessageText(char (&text)[kMessageSize], const char* format, va_list args) {
    std::vsnprintf(text, sizeof text, format, args);
}
} // namespace

void ShowError(HWND owner, const char* format, ...) {
    char text[kMessageSize];
    va_list args;
    va_start(args, format);
    FormatMessageText(text, format, args);
    va_end(args);
    ShowMessage(owner, text, "Error!", MB_OK | MB_ICONERROR);
}

void ShowWarning(HWND owner, const char* caption, const char* format, ...) {
    char text[kMessageSize];
    va_list args;
    va_start(args, format);
    FormatMessageText(text, format, args);
    va_end(args);
    ShowMessage(owner, text, caption, MB_OK | MB_ICONWARNING);
}

} // namespace quavera
