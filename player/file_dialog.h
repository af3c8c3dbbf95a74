#pragma once
// The common Open and Save As dialogs as the player shows them: a filter of
// "|"-separated pairs of description and patterns, a default extension, the
// read-only box hidden and an existing folder required.
#include <windows.h>

#include <commdlg.h>

#include <string>

namespace quavera {

struct FileDialog {
    HWND owner;
    std::string filter;
    const char* defaultExtension;
    // Added to the flags that every such dialog has.
    DWORD flags;
    // GetOpenFileNameA or GetSaveFileNameA.
    BOOL(WINAPI* show)(OPENFILENAMEA*);
};

// names (size bytes) holds the initial name and receives the choice. False
// on Cancel. fileOffset, when given, receives where the name part starts (the
// first name of several, where the flags allow them); title the chosen file's
// name without its folder.
bool AskForFileName(const FileDialog& dialog, char* names, DWORD size, WORD* fileOffset = nullptr,
                    std::string* title = nullptr);

} // namespace quavera
