#pragma once
// The ID3 version 1 tag at the end of a file, read without changing it.
#include <optional>
#include <string>

#include "id3v1_tag.h"

namespace quavera {

// Nothing when the file cannot be read, is shorter than a tag or has none.
std::optional<Id3v1Tag> ReadId3v1Tag(const std::string& fileName);

} // namespace quavera
