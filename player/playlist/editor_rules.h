#pragma once
// The playlist editor's rules that need no window: which files it takes, the
// texts of its file type list, what the scan of an entry fills in, and the
// title an entry is listed under.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quavera {

// The extensions the editor accepts in a drop. A file is taken when its
// lower-cased name holds one of them for the first time at its very end
// ("song.mp3.txt" and "a.mp3.mp3" are not taken); without extensions every
// file is.
class FileFilter {
public:
    // Starts with the audio extensions.
    FileFilter() { AcceptAudio(); }
    void AcceptAudio();
    void AcceptAll() { extensions_.clear(); }
    bool Accepts(const std::string& name) const;
    std::size_t count() const { return extensions_.size(); }

private:
    std::vector<std::string> extensions_;
};

// The items of the file type list, in order: item 0 accepts the audio
// extensions, item 1 every file.
std::string AudioFileTypeItem();
inline constexpr const char* kAllFileTypesItem = "All files (*.*)";

// The alias that an ID3 title gives an entry: the title as it stands, with
// its trailing blanks, except that a ";" (which would end the alias field)
// becomes "," and control characters (which would break a playlist's line)
// become blanks. A title of nothing but blanks gives none.
std::string AliasOfTitle(const std::string& title);

// What a scan may learn about the file or address that an entry names.
struct ScanSources {
    // The title of the file's ID3 version 1 tag; nothing without a tag.
    std::function<std::optional<std::string>(const std::string& file)> title;
    // The stream's length in milliseconds (-1 when the stream does not know
    // it); nothing when the stream cannot be read.
    std::function<std::optional<int>(const std::string& name)> lengthMs;
    // HTTP addresses are not asked for their length.
    bool skipHttpScan = false;
};

// Fills the entry's empty alias from the file's tag and its missing playback
// duration from the stream's length. False when the duration was missing and
// could not be had; the entry keeps what was found.
bool ScanEntryFields(std::string& entry, const ScanSources& sources);

// What the editor lists an entry as: its alias, or its name shown with or
// without its folder and extension.
std::string EntryTitle(const std::string& entry, bool showPath, bool showExtension);

} // namespace quavera
