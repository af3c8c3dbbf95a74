#pragma once
// The ID3 version 1 tag: the last 128 bytes of an audio file, "TAG" followed
// by title 30, artist 30, album 30, year 4, comment 30 and genre 1 byte.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quavera {

constexpr std::size_t kId3v1Size = 128;

// Each field as its bytes up to the first NUL (all of them when there is
// none), blanks and all, with no character conversion.
struct Id3v1Tag {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
};

// `tail` holds the last `size` bytes of the file, at most 128; a file shorter
// than a tag has none.
std::optional<Id3v1Tag> ParseId3v1Tag(const std::uint8_t* tail, std::size_t size);

} // namespace quavera
