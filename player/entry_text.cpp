#include "entry_text.h"

#include <cstdlib>

namespace quavera {
namespace {

std::string Field(const std::string& entry, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = entry.find(';', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    return entry.substr(start, entry.find(';', start) - start);
}

} // namespace

std::string EntryFileName(const std::string& entry) { return Field(entry, 0); }

unsigned EntryVolumePreset(const std::string& entry) {
    const long preset = std::strtol(Field(entry, 2).c_str(), nullptr, 10);
    return preset > 0 && preset <= 100 ? static_cast<unsigned>(preset) : 100;
}

} // namespace quavera
