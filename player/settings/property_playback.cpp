#include "property_playback.h"

namespace quavera {

CPropertyPlayback::CPropertyPlayback(HWND player)
    : player_(player), model_(devices_), audioPlayback_(model_, devices_, player), playbackMode_(model_, player),
      buffers_(model_, player), controls_(player) {
    LoadFromEngine(model_);
}

bool CPropertyPlayback::Run(HINSTANCE instance) {
    return RunPropertySheet(player_, instance, "Quavera Properties",
                            {&audioPlayback_, &playbackMode_, &buffers_, &controls_, &internet_});
}

} // namespace quavera
