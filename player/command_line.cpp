#include "command_line.h"

namespace quavera {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Takes the options and the white space before the first other character,
// and returns where that character is.
const char* ReadOptions(const char* p, CommandLine& result) {
    for (;;) {
        while (IsSpace(*p)) ++p;
        if ((*p != '/' && *p != '-') || !IsLetter(p[1])) return p;
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
}

} // namespace

CommandLine ParseCommandLine(const char* text) {
    CommandLine result;
    if (!text) return result;
    const char* p = ReadOptions(text, result);
    if (*p != '"') {
        result.fileName = p;
        return result;
    }
    // The shell quotes a name it passes (a drop on the program's icon, "Open
    // with"): the name ends at the closing quotation mark, or with the line
    // when there is none. Options may follow it; other words there are not
    // part of any name and are passed over.
    const char* name = p + 1;
    p = name;
    while (*p && *p != '"') ++p;
    result.fileName.assign(name, p);
    if (*p == '\0') return result;
    for (p = ReadOptions(p + 1, result); *p; p = ReadOptions(p, result))
        while (*p && !IsSpace(*p)) ++p;
    return result;
}

} // namespace quavera
