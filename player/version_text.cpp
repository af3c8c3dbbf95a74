#include "version_text.h"

#include <cstdio>

namespace quavera {

ProgramVersion ParseProductVersion(const char* productVersion) {
    ProgramVersion version;
    if (!productVersion) return version;
    // A version is a few numbers; anything longer is cut rather than kept.
    constexpr std::size_t kMaxLength = 31;
    std::string text;
    for (const char* p = productVersion; *p && text.size() < kMaxLength; ++p) {
        if (*p >= '0' && *p <= '9')
            text += *p;
        else if (*p == ',')
            text += '.';
    }
    version.text = text;
    if (std::sscanf(text.c_str(), "%d.%d", &version.major, &version.minor) < 2) version.minor = 0;
    return version;
}

int CompareVersionText(const char* stored, const char* program) {
    const auto* a = reinterpret_cast<const unsigned char*>(stored);
    const auto* b = reinterpret_cast<const unsigned char*>(program);
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

} // namespace quavera
