#include "http_header_values.h"

namespace quavera {
namespace {

// Far beyond any file the player reads, and far from overflowing.
constexpr std::int64_t kLimit = std::int64_t{1} << 52;

std::optional<std::int64_t> Number(std::string_view& text) {
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        value = value * 10 + (text[digits] - '0');
        if (value > kLimit) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::int64_t> ParseContentLength(std::string_view text) {
    text = Trimmed(text);
    const std::optional<std::int64_t> value = Number(text);
    if (!value || !text.empty()) return std::nullopt;
    return value;
}

std::optional<std::int64_t> ParseContentRangeStart(std::string_view text) {
    text = Trimmed(text);
    constexpr std::string_view kUnit = "bytes ";
    if (text.substr(0, kUnit.size()) != kUnit) return std::nullopt;
    text.remove_prefix(kUnit.size());
    const std::optional<std::int64_t> first = Number(text);
    if (!first || text.empty() || text.front() != '-') return std::nullopt;
    text.remove_prefix(1);
    const std::optional<std::int64_t> last = Number(text);
    if (!last || *last < *first || text.empty() || text.front() != '/') return std::nullopt;
    return first;
}

} // namespace quavera
