#include "entry_text.h"

#include <climits>
#include <cstdlib>

namespace quavera {

std::string EntryField(const std::string& text, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = text.find(';', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    return text.substr(start, text.find(';', start) - start);
}

int EntryNumber(const std::string& text, int n) {
    const long long value = std::strtoll(EntryField(text, n).c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string EntryFileName(const std::string& entry) { return EntryField(entry, kEntryName); }

unsigned EntryVolumePreset(const std::string& entry) {
    const int preset = EntryNumber(entry, kEntryVolume);
    return preset > 0 && preset <= 100 ? static_cast<unsigned>(preset) : 100;
}

} // namespace quavera
