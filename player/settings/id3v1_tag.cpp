#include "id3v1_tag.h"

#include <cstring>

namespace quavera {
namespace {

std::string Field(const std::uint8_t* data, std::size_t length) {
    const auto* text = reinterpret_cast<const char*>(data);
    const void* nul = std::memchr(text, '\0', length);
    return std::string(text, nul ? static_cast<const char*>(nul) - text : length);
}

} // namespace

std::optional<Id3v1Tag> ParseId3v1Tag(const std::uint8_t* tail, std::size_t size) {
    if (!tail || size != kId3v1Size || std::memcmp(tail, "TAG", 3) != 0) return std::nullopt;
    return Id3v1Tag{Field(tail + 3, 30), Field(tail + 33, 30), Field(tail + 63, 30), Field(tail + 93, 4),
                    Field(tail + 97, 30)};
}

} // namespace quavera
