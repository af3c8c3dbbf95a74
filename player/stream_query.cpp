#include "stream_query.h"

#include "http_address.h"
#include "playlist_names.h"
#include "tamblin1.h"

namespace quavera {
namespace {

bool MayBeReadableFile(const std::string& name) {
    if (IsHttpAddress(name)) return true;
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

std::optional<StreamFacts> QueryStream(HWND window, InputSource& reader, const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength || !MayBeReadableFile(name)) return std::nullopt;
    const StreamStatus* status = tamblin::QueryStreamInfo(window, name.c_str(), &reader);
    // A stream the engine could not analyse leaves the record zeroed.
    if (!status || status->streamRate == 0) return std::nullopt;
    const int length = status->totalTime < 0 ? -1 : static_cast<int>(status->totalTime);
    return StreamFacts{length, status->title};
}

} // namespace quavera
