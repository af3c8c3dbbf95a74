#pragma once
// The files that a drop brings into the playlist editor: a dropped file as it
// is, a dropped folder with its files and, when asked, those of its
// subfolders. A folder's entries come in the order of their names (case
// ignored), a subfolder's files where the subfolder stands. What cannot be
// taken is counted instead: names that do not exist or are longer than the
// player opens, folders that cannot be read, and links that lead back into a
// folder already listed (which would otherwise be listed without end).
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace quavera {

class FolderFiles {
public:
    // visit: told each folder before it is listed; false stops the listing.
    FolderFiles(bool subfolders, std::function<bool(const std::string& folder)> visit)
        : subfolders_(subfolders), visit_(std::move(visit)) {}

    // False once the listing has been stopped.
    bool Add(const std::string& path);
    const std::vector<std::string>& files() const { return files_; }
    unsigned skipped() const { return skipped_; }

private:
    bool AddFolder(const std::string& folder);
    // False when the folder has been listed before, under this or another name.
    bool FirstVisit(const std::string& folder);

    bool subfolders_;
    std::function<bool(const std::string& folder)> visit_;
    std::vector<std::string> files_;
    unsigned skipped_ = 0;
    // Volume serial number and file index of every folder listed.
    std::set<std::tuple<unsigned long, unsigned long, unsigned long>> listed_;
};

} // namespace quavera
