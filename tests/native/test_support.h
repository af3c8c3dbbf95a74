#pragma once
// Helpers for the native tests: an in-memory InputSource (also a list of
// files), a bit writer and a builder of synthetic Layer II frames.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "memory_source.h"

namespace quavera::test {

class BitWriter {
public:
    void put(std::uint32_t value, int bits);
    void padToBytes(std::size_t bytes); // zero bits up to that many bytes
    // Bits written so far.
    std::size_t bitCount() const { return 8 * bytes_.size() - static_cast<std::size_t>(8 - bitsUsed_); }
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

// The repository's test data: a file of the conformance set or of the
// standard's tables, by path below its folder. A missing file fails the test.
std::string conformance(const std::string& relative);
std::string standardTable(const std::string& name);
// A whole file; failing the test when it cannot be read.
Bytes readFile(const std::string& path);

} // namespace quavera::test
