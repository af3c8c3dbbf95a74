#include "m3u_index.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "entry_text.h"

namespace quavera {
namespace {

// Longer lines are cut: no file name is that long, so the part lost could only
// be the end of an alias.
constexpr std::size_t kMaxLine = 4096;
constexpr std::size_t kChunk = 1 << 16;
constexpr char kInfoTag[] = "#EXTINF:";
constexpr std::size_t kInfoTagLength = sizeof kInfoTag - 1;
constexpr std::uint64_t kNoInfo = ~std::uint64_t{0};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Sorts the lines of the file, fed in chunks, into entries and "#EXTINF"
// lines; blank lines and other "#" lines are passed over.
class LineSorter {
public:
    template <typename OnEntry>
    void Feed(const char* bytes, std::size_t size, std::uint64_t offset, OnEntry onEntry) {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = bytes[i];
            if (c == '\n') {
                EndLine(onEntry);
                start_ = offset + i + 1;
            } else if (!cut_) {
                if (c == '\0') {
                    // The entry text ends at a NUL byte.
                    cut_ = true;
                } else {
                    if (length_ < kInfoTagLength) head_[length_++] = c;
                    blank_ = blank_ && (c == ' ' || c == '\t' || c == '\r');
                }
            }
        }
    }
    template <typename OnEntry>
    void Finish(OnEntry onEntry) {
        // A last line without a line end is a line too.
        EndLine(onEntry);
    }
    void SkipTo(std::uint64_t offset) { start_ = offset; }

private:
    template <typename OnEntry>
    void EndLine(OnEntry onEntry) {
        if (!blank_) {
            if (head_[0] != '#') {
                onEntry(start_, info_);
                info_ = kNoInfo;
            } else if (length_ == kInfoTagLength && std::memcmp(head_, kInfoTag, kInfoTagLength) == 0) {
                info_ = start_;
            }
        }
        blank_ = true;
        cut_ = false;
        length_ = 0;
    }

    std::uint64_t start_ = 0;
    std::uint64_t info_ = kNoInfo;
    char head_[kInfoTagLength] = {};
    std::size_t length_ = 0;
    bool blank_ = true;
    bool cut_ = false;
};

} // namespace

PlaylistEntry M3uEntry(const std::string& line, const std::string& info) {
    PlaylistEntry entry{line, 0};
    if (info.compare(0, kInfoTagLength, kInfoTag) != 0) return entry;
    const char* seconds = info.c_str() + kInfoTagLength;
    char* end = nullptr;
    const double value = std::strtod(seconds, &end);
    if (end != seconds && std::isfinite(value) && value > 0)
        entry.durationMs = value * 1000.0 < INT_MAX ? static_cast<int>(std::lround(value * 1000.0)) : INT_MAX;

    // The title follows the first comma outside the quoted attribute values.
    bool quoted = false;
    std::size_t comma = std::string::npos;
    for (std::size_t i = kInfoTagLength; i < info.size() && comma == std::string::npos; ++i) {
        if (info[i] == '"') quoted = !quoted;
        else if (info[i] == ',' && !quoted) comma = i;
    }
    if (comma == std::string::npos) return entry;
    std::string title = info.substr(comma + 1);
    title.erase(0, title.find_first_not_of(" \t"));
    title.erase(title.find_last_not_of(" \t") + 1);
    // The alias is one field of the entry text.
    for (char& c : title)
        if (c == ';') c = ',';
    if (!title.empty() && EntryField(line, kEntryAlias).empty()) entry.text = SetEntryField(line, kEntryAlias, title);
    return entry;
}

M3uIndex::Stamp M3uIndex::StampOf(const std::string& path) {
    struct stat status{};
    if (stat(path.c_str(), &status) != 0) return {};
    return {static_cast<long long>(status.st_size), static_cast<long long>(status.st_mtime)};
}

bool M3uIndex::Open(const std::string& path) {
    path_ = path;
    return Index();
}

bool M3uIndex::Index() {
    lines_.clear();
    window_.clear();
    stamp_ = StampOf(path_);
    File file(std::fopen(path_.c_str(), "rb"));
    if (!file) return false;
    std::vector<char> chunk(kChunk);
    LineSorter sorter;
    const auto onEntry = [this](std::uint64_t entry, std::uint64_t info) { lines_.push_back({entry, info}); };
    std::uint64_t offset = 0;
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0; offset += got) {
        std::size_t skip = 0;
        // A byte order mark is not part of the first line.
        if (offset == 0 && got >= 3 && std::memcmp(chunk.data(), "\xEF\xBB\xBF", 3) == 0) {
            skip = 3;
            sorter.SkipTo(3);
        }
        sorter.Feed(chunk.data() + skip, got - skip, offset + skip, onEntry);
    }
    sorter.Finish(onEntry);
    return !std::ferror(file.get());
}

std::string M3uIndex::ReadLine(std::uint64_t offset) {
    const auto inWindow = [&] {
        if (offset < windowStart_ || offset - windowStart_ >= window_.size()) return false;
        // The whole line, unless the window ends with the file.
        const auto begin = window_.begin() + static_cast<std::ptrdiff_t>(offset - windowStart_);
        return std::find(begin, window_.end(), '\n') != window_.end() || window_.size() < kChunk;
    };
    if (!inWindow()) {
        window_.clear();
        File file(std::fopen(path_.c_str(), "rb"));
        if (!file || offset > static_cast<std::uint64_t>(LONG_MAX) ||
            std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) != 0)
            return {};
        window_.resize(kChunk);
        window_.resize(std::fread(window_.data(), 1, kChunk, file.get()));
        windowStart_ = offset;
    }
    const char* begin = window_.data() + (offset - windowStart_);
    const char* end = window_.data() + window_.size();
    const char* lineEnd = std::find(begin, end, '\n');
    std::string line(begin, std::min<std::size_t>(static_cast<std::size_t>(lineEnd - begin), kMaxLine));
    line.resize(std::strlen(line.c_str()));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

PlaylistEntry M3uIndex::Entry(int n) {
    if (!(StampOf(path_) == stamp_)) Index();
    if (n < 1 || n > count()) return {};
    const Line& line = lines_[static_cast<std::size_t>(n - 1)];
    const std::string info = line.info == kNoInfo ? std::string() : ReadLine(line.info);
    return M3uEntry(ReadLine(line.entry), info);
}

} // namespace quavera
