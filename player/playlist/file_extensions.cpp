#include "file_extensions.h"

namespace quavera {

std::string ExtensionPatterns(std::span<const char* const> extensions) {
    std::string text;
    for (const char* extension : extensions) {
        if (!text.empty()) text += ';';
        text.append("*").append(extension);
    }
    return text;
}

} // namespace quavera
