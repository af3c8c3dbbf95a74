#include "editor_rules.h"

#include <algorithm>

#include "entry_text.h"
#include "file_extensions.h"
#include "http_address.h"
#include "playlist_names.h"

namespace quavera {

void FileFilter::AcceptAudio() { extensions_.assign(kAudioExtensions.begin(), kAudioExtensions.end()); }

bool FileFilter::Accepts(const std::string& name) const {
    if (extensions_.empty()) return true;
    const std::string lower = AsciiLower(name);
    return std::any_of(extensions_.begin(), extensions_.end(), [&](const std::string& extension) {
        const std::size_t first = lower.find(extension);
        return first != std::string::npos && first + extension.size() == lower.size();
    });
}

std::string AudioFileTypeItem() { return "MPEG audio file (" + ExtensionPatterns(kAudioExtensions) + ")"; }

std::string AliasOfTitle(const std::string& title) {
    std::string alias = title;
    for (char& c : alias) {
        if (c == ';') c = ',';
        else if (static_cast<unsigned char>(c) < ' ') c = ' ';
    }
    return alias.find_first_not_of(' ') == std::string::npos ? std::string() : alias;
}

bool ScanEntryFields(std::string& entry, const ScanSources& sources) {
    const std::string name = EntryFileName(entry);
    const bool address = IsHttpAddress(name);
    if (EntryField(entry, kEntryAlias).empty() && !address) {
        if (const auto title = sources.title(name)) {
            const std::string alias = AliasOfTitle(*title);
            if (!alias.empty()) entry = SetEntryField(entry, kEntryAlias, alias);
        }
    }
    if (EntryNumber(entry, kEntryDuration) != 0) return true;
    if (address && sources.skipHttpScan) return false;
    const std::optional<int> length = sources.lengthMs(name);
    if (!length) return false;
    // A stream of unknown length leaves the duration open.
    if (*length > 0) entry = SetEntryField(entry, kEntryDuration, *length);
    return true;
}

std::string EntryTitle(const std::string& entry, bool showPath, bool showExtension) {
    const std::string alias = EntryField(entry, kEntryAlias);
    return alias.empty() ? DisplayName(entry, showPath, showExtension) : alias;
}

} // namespace quavera
