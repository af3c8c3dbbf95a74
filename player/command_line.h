#pragma once
// The player's command line: options /C /E /P /R (or with "-", any case, the
// rest of the word ignored), then a file name that takes the whole rest. A
// name in quotation marks ends at the closing mark; options may follow it.
#include <string>

namespace quavera {

struct CommandLine {
    bool closeWhenDone = false; // C
    bool endless = false;       // E
    bool play = false;          // P
    bool random = false;        // R
    std::string fileName;       // empty when none was given
};

CommandLine ParseCommandLine(const char* text);

} // namespace quavera
