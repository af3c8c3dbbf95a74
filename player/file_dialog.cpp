#include "file_dialog.h"

#include <algorithm>

namespace quavera {

bool AskForFileName(const FileDialog& dialog, char* names, DWORD size, WORD* fileOffset, std::string* title) {
    std::string filter = dialog.filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    char fileTitle[MAX_PATH] = {};
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog.owner;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = names;
    request.nMaxFile = size;
    request.lpstrFileTitle = fileTitle;
    request.nMaxFileTitle = sizeof fileTitle;
    request.lpstrDefExt = dialog.defaultExtension;
    request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | dialog.flags;
    if (!dialog.show(&request)) return false;
    if (fileOffset) *fileOffset = request.nFileOffset;
    if (title) *title = fileTitle;
    return true;
}

} // namespace quavera
