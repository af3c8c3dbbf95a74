#pragma once
// ".pls" playlists, read and written through the profile functions of
// Windows: section "playlist", "NumberOfEntries" and one key "File%d" per
// entry, counting from 1.
#include <string>
#include <vector>

#include "entry_source.h"

namespace quavera {

class PlsPlaylist final : public EntrySource {
public:
    // path: a full path (the profile functions look for other names in the
    // Windows folder).
    explicit PlsPlaylist(const std::string& path);
    int count() const override { return count_; }
    // A missing key gives an empty text, which the queue cannot play.
    PlaylistEntry Entry(int n) override;

private:
    std::string path_;
    std::string folder_;
    int count_ = 0;
};

enum class PlsKeyOrder { CountFirst, EntriesFirst };

// Writes the entries with their names made relative to the playlist's folder,
// in place of every key the section held before; other sections stay. False
// when the file could not be written.
bool WritePlaylist(const std::string& path, const std::vector<std::string>& entries, PlsKeyOrder order);
// Writes the entries, count first, as a new file that then replaces the one
// of that name: nothing of an earlier file stays, and a failed write leaves
// it as it was.
bool SavePlaylist(const std::string& path, const std::vector<std::string>& entries);

} // namespace quavera
