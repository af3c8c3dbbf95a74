#pragma once
// Helpers for the native tests: an in-memory InputSource (also a list of
// files), a bit writer and a builder of synthetic Layer II frames.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "input_source.h"

namespace quavera::test {

using Bytes = std::vector<std::uint8_t>;

// Serves bytes from memory; with several files it behaves like the player's
// list reader, flagging the read that crosses into the next file.
class MemorySource final : public InputSource {
public:
    explicit MemorySource(Bytes data, std::string name = "memory.mp2");
    MemorySource(std::vector<Bytes> files, std::string name);

    int open(const char*) override { position_ = 0; return 1; }
    int close() override { return 1; }
    std::uint32_t read(void* buffer, std::uint32_t count) override;
    int seek(std::int32_t position) override;
    std::int32_t tell() override { return static_cast<std::int32_t>(position_); }
    std::int32_t length() override;
    const char* name() override { return name_.c_str(); }
    int fileChanged() override { return 0; }

private:
    std::size_t fileAt(std::size_t position) const;

    std::vector<Bytes> files_;
    Bytes all_;
    std::string name_;
    std::size_t position_ = 0;
    std::uint32_t previousFileBytes_ = 0;
    std::size_t currentFile_ = 0;
};

class BitWriter {
public:
    void put(std::uint32_t value, int bits);
    void padToBytes(std::size_t bytes); // zero bits up to that many bytes
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
    int bitsUsed_ = 8;
};

// The fields of a synthetic frame header.
struct HeaderFields {
    int id = 1;
    int layer = 2; // 1, 2 or 3
    bool crc = false;
    int bitrateIndex = 0;
    int frequencyIndex = 0;
    int padding = 0;
    int privateBit = 0;
    int mode = 0;
    int modeExtension = 0;
    int copyright = 0;
    int original = 0;
    int emphasis = 0;
};

std::uint32_t headerWord(const HeaderFields& h);
void putHeader(BitWriter& w, const HeaderFields& h);

// Frame length in bytes for Layer II/III at the header's bitrate and rate.
std::size_t frameBytes(const HeaderFields& h);

// A Layer II frame: header, then whatever body writes, padded to the frame's
// length (or cut to it).
Bytes layer2Frame(const HeaderFields& h, const std::function<void(BitWriter&)>& body);

// A Layer II frame of one steady tone-like pattern: every subband below
// subbands gets allocation 1 (3 steps) with scale factor index scale; a
// silent frame when subbands is 0.
Bytes simpleLayer2Frame(const HeaderFields& h, int subbands, int scale);

Bytes concat(const std::vector<Bytes>& parts);
Bytes repeat(const Bytes& part, int times);

// Runs a shell command; true when it exits with 0.
bool run(const std::string& command);
bool haveCommand(const char* name);
// A fresh directory for generated files.
std::string tempDir(const std::string& name);

} // namespace quavera::test
