#include "command_line.h"

namespace quavera {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

CommandLine ParseCommandLine(const char* text) {
    CommandLine result;
    if (!text) return result;
    const char* p = text;
    for (;;) {
        while (IsSpace(*p)) ++p;
        if (*p == '\0') return result;
        if ((*p != '/' && *p != '-') || !IsLetter(p[1])) break;
        switch (Upper(p[1])) {
        case 'C': result.closeWhenDone = true; break;
        case 'E': result.endless = true; break;
        case 'P': result.play = true; break;
        case 'R': result.random = true; break;
        default: break;
        }
        p += 2;
        while (*p && !IsSpace(*p)) ++p;
    }
    result.fileName = p;
    return result;
}

} // namespace quavera
