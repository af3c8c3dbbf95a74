#pragma once
// Where the queue takes its entries from: an open playlist or the files of
// one drop. Entries are fetched one at a time, by number, counting from 1.
#include <memory>
#include <string>
#include <vector>

#include "m3u_index.h"
#include "playlist_entry.h"

namespace quavera {

class EntrySource {
public:
    virtual ~EntrySource() = default;
    virtual int count() const = 0;
    // Entry n with its name made absolute; an empty text when there is none.
    virtual PlaylistEntry Entry(int n) = 0;
};

// An ".m3u" file; its relative names are taken from its folder.
class M3uPlaylist final : public EntrySource {
public:
    explicit M3uPlaylist(const std::string& path);
    int count() const override { return index_.count(); }
    PlaylistEntry Entry(int n) override;

private:
    M3uIndex index_;
    std::string folder_;
};

// Names taken as they are, such as the files of a drop.
class NameList final : public EntrySource {
public:
    explicit NameList(std::vector<std::string> names) : names_(std::move(names)) {}
    int count() const override { return static_cast<int>(names_.size()); }
    PlaylistEntry Entry(int n) override;

private:
    std::vector<std::string> names_;
};

} // namespace quavera
