#include "folder_files.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "handles.h"
#include "playlist_names.h"

namespace quavera {
namespace {

struct FindCloser {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) { FindClose(h); }
};
using FindHandle = UniqueHandle<FindCloser>;

struct FolderEntry {
    std::string name;
    bool folder;
};

// The name under which a found file opens: a long name that the code page
// cannot spell (its lost letters read "?") opens by its short name.
const char* OpenableName(const WIN32_FIND_DATAA& found) {
    if (!std::strchr(found.cFileName, '?')) return found.cFileName;
    return found.cAlternateFileName[0] ? found.cAlternateFileName : nullptr;
}

} // namespace

bool FolderFiles::Add(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || path.size() > kMaxNameLength) {
        ++skipped_;
        return true;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return AddFolder(path);
    files_.push_back(path);
    return true;
}

bool FolderFiles::FirstVisit(const std::string& folder) {
    const HANDLE opened = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    // A folder that cannot be opened cannot be listed either; the listing says so.
    if (opened == INVALID_HANDLE_VALUE) return true;
    const KernelHandle handle(opened);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle.get(), &information)) return true;
    return listed_.emplace(information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow)
        .second;
}

bool FolderFiles::AddFolder(const std::string& folder) {
    if (!visit_(folder)) return false;
    if (!FirstVisit(folder)) {
        ++skipped_;
        return true;
    }
    const std::string prefix = folder.back() == '\\' ? folder : folder + '\\';
    WIN32_FIND_DATAA found{};
    const FindHandle find(FindFirstFileA((prefix + "*.*").c_str(), &found));
    if (!find) {
        ++skipped_;
        return true;
    }
    std::vector<FolderEntry> entries;
    do {
        if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
        const char* name = OpenableName(found);
        const std::string path = name ? prefix + name : std::string();
        if (path.empty() || path.size() > kMaxNameLength) {
            ++skipped_;
            continue;
        }
        entries.push_back({path, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(find.get(), &found));
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0; });
    for (const FolderEntry& entry : entries) {
        if (!entry.folder)
            files_.push_back(entry.name);
        else if (subfolders_ && !AddFolder(entry.name))
            return false;
    }
    return true;
}

} // namespace quavera
