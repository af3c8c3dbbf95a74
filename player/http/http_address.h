#pragma once
// HTTP and HTTPS addresses as the player takes them: the test that decides
// which reader a name needs, the URL dialog's completion of typed text, and
// the split into the parts a connection needs. Portable: no windows.h.
#include <optional>
#include <string>
#include <string_view>

namespace quavera {

// True when the text, compared in lower case, begins with "http://" or
// "https://". The playback queue, playlists and the main dialog ask this to
// choose the reader of a name.
bool IsHttpAddress(std::string_view text);

// What the URL dialog makes of the typed text: an address as typed when it
// begins with a web scheme, the trimmed lower-case text after "http://" when
// it has no scheme, nothing when it names another scheme.
std::optional<std::string> CompleteTypedAddress(std::string_view typed);

struct HttpAddress {
    bool secure = false;
    std::string host;
    // 0: the scheme's default port.
    unsigned port = 0;
    // From the first "/" on, ready for the request line (bytes that cannot
    // travel there are percent-encoded, the fragment is cut); may be empty.
    std::string path;
    // The account named in the address; hasAccount is false without an "@".
    bool hasAccount = false;
    std::string user;
    std::string password;
};

// The longest address the player passes on; WinInet refuses longer ones too.
constexpr std::size_t kMaxAddressLength = 2048;

// Splits an address that IsHttpAddress accepts. Nothing when it cannot name a
// server: no host or an unusable one, a port that is not 1..65535, an "@"
// without a user name, control characters, or more than kMaxAddressLength
// characters.
std::optional<HttpAddress> ParseHttpAddress(std::string_view address);

} // namespace quavera
