#pragma once
// Common ground for tests that drive Tamblin1.dll through its import table:
// a private registry key per test, a watcher for the boxes the engine shows,
// and the generated test streams.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "file_reader.h"
#include "message_box_watcher.h"
#include "tamblin1.h"

namespace quavera::test {

// Windows path of a file made by make_engine_streams.sh.
std::string StreamPath(const char* name);

// The relative registry path under Software\ that the current test uses.
std::string TestRegistryLocation();

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores the configuration as the player's settings sheet would.
    void configure(int divisor, int quality, int channels, int bits, int buffers = 14, int framesPerBuffer = 2,
                   int method = 1, int device = -1);
    int open(const std::string& path, DWORD tickMs = 1000);

    std::string location_;
    // The engine keeps the last reader bound across opens (it closes it before
    // binding another), so one reader serves the whole test program.
    static FileReader& reader();
    FileReader& reader_ = reader();
    MessageBoxWatcher boxes_;
};

} // namespace quavera::test
