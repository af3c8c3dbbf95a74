#pragma once
// The program's version as the start-up compares it with the registry.
#include <string>

namespace quavera {

struct ProgramVersion {
    std::string text = "no version";
    int major = 0;
    int minor = 0;
};

// From the resource's ProductVersion string: digits are kept, commas become
// points, everything else is dropped. Null (no resource) gives "no version".
ProgramVersion ParseProductVersion(const char* productVersion);

// Byte-wise comparison as unsigned characters: <0, 0 or >0.
int CompareVersionText(const char* stored, const char* program);

} // namespace quavera
