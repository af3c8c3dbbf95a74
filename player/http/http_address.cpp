#include "http_address.h"

#include <algorithm>
#include <array>

namespace quavera {
namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";
// WinInet's own limits for the parts of an address.
constexpr std::size_t kMaxHostLength = 255;
constexpr std::size_t kMaxAccountLength = 128;
constexpr unsigned kMaxPort = 65535;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithLower(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) { return p == Lower(t); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

bool IsIpv6Character(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.';
}

// "" means the default port; anything but 1..65535 in decimal is refused.
std::optional<unsigned> ParsePort(std::string_view text) {
    if (text.empty()) return 0u;
    unsigned port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + static_cast<unsigned>(c - '0');
        if (port > kMaxPort) return std::nullopt;
    }
    if (port == 0) return std::nullopt;
    return port;
}

// Host and port: "host", "host:port", "[v6]" or "[v6]:port".
bool ParseServer(std::string_view server, HttpAddress& address) {
    std::string_view host = server;
    std::string_view port;
    if (!server.empty() && server.front() == '[') {
        const std::size_t close = server.find(']');
        if (close == std::string_view::npos) return false;
        host = server.substr(0, close + 1);
        const std::string_view rest = server.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') return false;
        if (!rest.empty()) port = rest.substr(1);
        const std::string_view inside = host.substr(1, host.size() - 2);
        if (inside.empty() || !std::all_of(inside.begin(), inside.end(), IsIpv6Character)) return false;
    } else {
        const std::size_t colon = server.find(':');
        if (colon != std::string_view::npos) {
            host = server.substr(0, colon);
            port = server.substr(colon + 1);
        }
        if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostCharacter)) return false;
    }
    if (host.size() > kMaxHostLength) return false;
    const std::optional<unsigned> number = ParsePort(port);
    if (!number) return false;
    address.host = host;
    address.port = *number;
    return true;
}

// The path as it travels in the request line: the fragment stays with the
// user, spaces and bytes beyond ASCII are percent-encoded.
std::string RequestPath(std::string_view path) {
    path = path.substr(0, path.find('#'));
    constexpr std::array<char, 16> kHex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                           '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    std::string result;
    result.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F) {
            result += c;
        } else {
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 0x0F];
        }
    }
    return result;
}

} // namespace

bool IsHttpAddress(std::string_view text) { return StartsWithLower(text, kHttp) || StartsWithLower(text, kHttps); }

std::optional<std::string> CompleteTypedAddress(std::string_view typed) {
    // Kept as typed but for the blanks around it, which would hide the scheme.
    const std::string_view trimmed = Trim(typed);
    if (IsHttpAddress(trimmed)) return std::string(trimmed);
    std::string lower(trimmed);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    if (lower.find("://") != std::string::npos) return std::nullopt;
    return std::string(kHttp) + lower;
}

std::optional<HttpAddress> ParseHttpAddress(std::string_view text) {
    if (!IsHttpAddress(text) || text.size() > kMaxAddressLength ||
        std::any_of(text.begin(), text.end(), IsControl))
        return std::nullopt;
    HttpAddress address;
    address.secure = StartsWithLower(text, kHttps);
    text.remove_prefix(address.secure ? kHttps.size() : kHttp.size());

    const std::size_t slash = text.find('/');
    std::string_view rest = text.substr(0, slash);
    if (slash != std::string_view::npos) address.path = RequestPath(text.substr(slash));

    const std::size_t at = rest.find('@');
    if (at != std::string_view::npos) {
        const std::string_view account = rest.substr(0, at);
        const std::size_t colon = account.find(':');
        const std::string_view user = account.substr(0, colon);
        const std::string_view password = colon == std::string_view::npos ? "" : account.substr(colon + 1);
        if (user.empty() || user.size() > kMaxAccountLength || password.size() > kMaxAccountLength)
            return std::nullopt;
        address.hasAccount = true;
        address.user = user;
        address.password = password;
        rest = rest.substr(at + 1);
    }
    if (!ParseServer(rest, address)) return std::nullopt;
    return address;
}

} // namespace quavera
