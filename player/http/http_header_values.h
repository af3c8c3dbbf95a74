#pragma once
// The two response header values the HTTP reader reads. Portable.
#include <cstdint>
#include <optional>
#include <string_view>

namespace quavera {

// "Content-Length": a decimal number of bytes; nothing for any other text.
std::optional<std::int64_t> ParseContentLength(std::string_view text);
// "Content-Range: bytes FIRST-LAST/TOTAL": FIRST; nothing for any other form.
std::optional<std::int64_t> ParseContentRangeStart(std::string_view text);

} // namespace quavera
