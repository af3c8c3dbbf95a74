#pragma once
// An InputSource over bytes in memory, for tests and the fuzz target.
#include <cstdint>
#include <string>
#include <vector>

#include "input_source.h"

namespace quavera::test {

using Bytes = std::vector<std::uint8_t>;

// Serves bytes from memory; with several files it behaves like the player's
// list reader: a read that reaches the end of a file goes on in the next one
// and is flagged, and from then on positions and the length are the next
// file's.
class MemorySource final : public InputSource {
public:
    explicit MemorySource(Bytes data, std::string name = "memory.mp2");
    MemorySource(std::vector<Bytes> files, std::string name);

    int open(const char*) override {
        currentFile_ = 0;
        position_ = 0;
        return 1;
    }
    int close() override { return 1; }
    std::uint32_t read(void* buffer, std::uint32_t count) override;
    int seek(std::int32_t position) override;
    std::int32_t tell() override { return static_cast<std::int32_t>(position_); }
    std::int32_t length() override;
    const char* name() override { return name_.c_str(); }
    int fileChanged() override { return 0; }

private:
    std::vector<Bytes> files_;
    std::string name_;
    std::size_t position_ = 0;
    std::uint32_t previousFileBytes_ = 0;
    std::size_t currentFile_ = 0;
};

} // namespace quavera::test
