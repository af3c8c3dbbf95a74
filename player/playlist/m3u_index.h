#pragma once
// An ".m3u" playlist read entry by entry without holding it in memory: the
// offsets of its entry lines are indexed once, and again whenever the file
// has changed, so that fetching entry N reads one line instead of N. Lines
// are read through a window of the file, so that fetching the entries in
// order opens the file once per window; the file stays closed in between.
//
// Every line that is neither blank nor begins with "#" is an entry, in order.
// An "#EXTINF:seconds,title" line gives the entry after it its title as the
// alias (when the entry has none) and its seconds as its length.
#include <cstdint>
#include <string>
#include <vector>

#include "playlist_entry.h"

namespace quavera {

class M3uIndex {
public:
    // Indexes the file; false, with no entries, when it cannot be read.
    bool Open(const std::string& path);
    int count() const { return static_cast<int>(lines_.size()); }
    // Entry n (1-based) as its line stands, without the line end and cut at a
    // NUL byte; empty when there is no such entry.
    PlaylistEntry Entry(int n);

private:
    struct Stamp {
        long long size = -1;
        long long modified = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Line {
        std::uint64_t entry;
        std::uint64_t info; // the "#EXTINF" line before it, or none (all bits set)
    };

    static Stamp StampOf(const std::string& path);
    bool Index();
    // The line at the offset, without its line end and cut at a NUL byte.
    std::string ReadLine(std::uint64_t offset);

    std::string path_;
    Stamp stamp_;
    std::vector<Line> lines_;
    std::vector<char> window_;
    std::uint64_t windowStart_ = 0;
};

// The entry that an entry line and the "#EXTINF" line before it (or an empty
// text) make.
PlaylistEntry M3uEntry(const std::string& line, const std::string& info);

} // namespace quavera
