#pragma once
// Registry helpers and the message boxes shared by Quavera.exe and Tamblin1.dll.
// Every relative path is taken under HKEY_CURRENT_USER\Software\.
#include <windows.h>

namespace quavera {

bool WriteRegString(const char* relativePath, const char* valueName, const char* text);
bool WriteRegInt(const char* relativePath, const char* valueName, DWORD value);
// Both readers leave the destination untouched when the key or the value is
// missing, or when the stored value has the wrong type or size, so callers
// preset the default. ReadRegString's destination holds at least 128 bytes;
// texts longer than 127 characters count as missing.
bool ReadRegString(const char* relativePath, const char* valueName, char* destination);
bool ReadRegInt(const char* relativePath, const char* valueName, DWORD* destination);
// Same as ReadRegInt, for values that hold signed settings.
bool ReadRegInt(const char* relativePath, const char* valueName, int* destination);

// Task-modal box owned by owner (which is brought to the foreground first).
// Returns the button the user pressed (IDOK, IDYES, ...), 0 when no box could be shown.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT type);
// printf-style: the "Error!" box with the error icon.
void ShowError(HWND owner, const char* format, ...) __attribute__((format(printf, 2, 3)));
// printf-style: a box with the given caption and the warning icon (OK only).
void ShowWarning(HWND owner, const char* caption, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

} // namespace quavera
