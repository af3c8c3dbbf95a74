#include "description.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace quavera {
namespace {

constexpr std::size_t kMaxLookupPath = 127;
// Lines are read in pieces; only the first piece of a line can start with the key.
constexpr int kPieceSize = 80; // 79 characters and the terminating zero

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::string StreamTitle(const char* path) {
    if (!path) return {};
    std::string title = path;
    if (const auto slash = title.find_last_of("\\/"); slash != std::string::npos) title.erase(0, slash + 1);
    if (const auto dot = title.rfind('.'); dot != std::string::npos) title.erase(dot);
    return title;
}

std::string LookupDescription(const char* path) {
    if (!path) return {};
    const std::string full = path;
    const auto slash = full.rfind('\\');
    const std::string directory = slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
    std::string key = slash == std::string::npos ? full : full.substr(slash + 1);
    const std::string lookup = directory + "descript.ion";
    if (lookup.size() > kMaxLookupPath) return {};

    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(lookup.c_str(), "r"));
    if (!file) return {};
    if (key.find(' ') != std::string::npos) key = '"' + key + '"';

    char piece[kPieceSize];
    bool atLineStart = true;
    while (std::fgets(piece, sizeof piece, file.get())) {
        const bool startsLine = atLineStart;
        atLineStart = std::strchr(piece, '\n') != nullptr;
        if (!startsLine || std::strncmp(piece, key.c_str(), key.size()) != 0) continue;
        std::string rest = piece + std::min(key.size(), std::strlen(piece));
        if (const auto newline = rest.find('\n'); newline != std::string::npos) rest.erase(newline);
        const auto text = rest.find_first_not_of(" \t");
        return text == std::string::npos ? std::string() : rest.substr(text);
    }
    return {};
}

} // namespace quavera
