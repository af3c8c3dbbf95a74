#pragma once
// The application object: the program's paths and version, and the main
// dialog's life from start-up to exit.
#include <windows.h>

#include <string>

#include "version_text.h"

namespace quavera {

class PlayerApp {
public:
    explicit PlayerApp(HINSTANCE instance);
    // Runs the main dialog until it closes; the result is the exit code.
    int Run(const char* commandLine);

    HINSTANCE instance() const { return instance_; }
    const std::string& modulePath() const { return modulePath_; }
    const std::string& directory() const { return directory_; }
    const ProgramVersion& version() const { return version_; }

private:
    HINSTANCE instance_;
    std::string modulePath_;
    std::string directory_;
    ProgramVersion version_;
};

} // namespace quavera
