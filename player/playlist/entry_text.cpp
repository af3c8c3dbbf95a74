#include "entry_text.h"

#include <climits>
#include <cstdlib>

namespace quavera {
namespace {

constexpr std::size_t kNone = std::string::npos;

// Start of field n, or kNone when the text has fewer fields.
std::size_t FieldStart(const std::string& text, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = text.find(';', start);
        if (start == kNone) return kNone;
        ++start;
    }
    return start;
}

} // namespace

std::string EntryField(const std::string& text, int n) {
    const std::size_t start = FieldStart(text, n);
    if (start == kNone) return {};
    return text.substr(start, text.find(';', start) - start);
}

int EntryNumber(const std::string& text, int n) {
    const std::string field = EntryField(text, n);
    const long long value = std::strtoll(field.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string SetEntryField(const std::string& text, int n, const std::string& value) {
    std::string result;
    std::size_t start = 0; // of field i in text, kNone once the text has run out
    for (int i = 0; i < n; ++i) {
        if (start == kNone) {
            result += ';';
            continue;
        }
        const std::size_t end = text.find(';', start);
        if (end == kNone) {
            result.append(text, start).append(1, ';');
            start = kNone;
        } else {
            result.append(text, start, end + 1 - start);
            start = end + 1;
        }
    }
    result += value;
    if (start != kNone) {
        const std::size_t end = text.find(';', start);
        if (end != kNone) result.append(text, end);
    }
    return result;
}

std::string SetEntryField(const std::string& text, int n, int value) {
    return SetEntryField(text, n, std::to_string(value));
}

std::string BareTitle(const std::string& text) {
    std::string name = EntryField(text, kEntryName);
    const std::size_t slash = name.rfind('\\');
    if (slash != kNone) name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != kNone) name.erase(dot);
    return name;
}

std::string DisplayName(const std::string& text, bool showPath, bool showExtension) {
    std::string name = EntryField(text, kEntryName);
    std::size_t separator = name.rfind('\\');
    if (separator == kNone) separator = name.rfind('/');
    if (!showPath && separator != kNone) {
        name.erase(0, separator + 1);
        separator = kNone;
    }
    if (!showExtension) {
        // A leading "." names a file that has no extension.
        const std::size_t dot = name.rfind('.');
        const bool extension = dot != kNone && (separator != kNone ? dot > separator : showPath || dot > 0);
        if (extension) name.erase(dot);
    }
    return name;
}

std::string EntryFileName(const std::string& text) { return EntryField(text, kEntryName); }

unsigned EntryVolumePreset(const std::string& text) {
    const int preset = EntryNumber(text, kEntryVolume);
    return preset > 0 && preset <= 100 ? static_cast<unsigned>(preset) : 100;
}

} // namespace quavera
