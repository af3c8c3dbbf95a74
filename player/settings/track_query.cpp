#include "track_query.h"

#include "entry_text.h"
#include "registry_values.h"
#include "tamblin1.h"
#include "winbasic.h"

namespace quavera {

const StreamStatus* QueryTrack(HWND window, const std::string& entry, StreamReaders& readers) {
    const std::string name = EntryFileName(entry);
    if (IsHttpAddress(name) && reg::ReadSetting(reg::kSkipHttpFileScan, 0) != 0) return nullptr;
    readers.setOwner(window);
    return tamblin::QueryStreamInfo(window, name.c_str(), &readers.For(name));
}

} // namespace quavera
