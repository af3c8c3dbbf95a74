// libFuzzer target for the player's address rules: any text through the URL
// dialog's completion and the address split, and any header value through
// the reader's parsers. An accepted address must hold only what a request
// line and WinInet's connect call can take.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "http_address.h"
#include "http_header_values.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckAddress(std::string_view text) {
    const auto address = quavera::ParseHttpAddress(text);
    if (!address) return;
    Check(quavera::IsHttpAddress(text));
    Check(text.size() <= quavera::kMaxAddressLength);
    Check(!address->host.empty() && address->host.size() <= 255);
    Check(address->port <= 65535);
    Check(!address->hasAccount || !address->user.empty());
    for (const char c : address->path) Check(c > 0x20 && c < 0x7F && c != '#');
    Check(address->path.empty() || address->path.front() == '/');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckAddress(text);
    if (const auto completed = quavera::CompleteTypedAddress(text)) {
        Check(quavera::IsHttpAddress(*completed));
        CheckAddress(*completed);
    }
    if (const auto length = quavera::ParseContentLength(text)) Check(*length >= 0);
    if (const auto first = quavera::ParseContentRangeStart(text)) Check(*first >= 0);
    return 0;
}
