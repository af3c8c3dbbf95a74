#pragma once
// What the engine's stream information tells the queue's scan about a file.
#include <windows.h>

#include <optional>
#include <string>

#include "entry_scan.h"
#include "input_source.h"

namespace quavera {

// The engine is asked through the reader, with its own boxes owned by the
// window. A local name that cannot be a readable file (too long, missing,
// a folder, a drive that is not there) is answered without the engine, whose
// box for each such entry would stop a scan of a long list again and again;
// the track list says it instead.
std::optional<StreamFacts> QueryStream(HWND window, InputSource& reader, const std::string& name);

} // namespace quavera
