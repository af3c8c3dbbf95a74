#pragma once
// The names a file drop carries.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace quavera {

// The dropped names in order, without empty ones; the drop is released.
std::vector<std::string> TakeDroppedFiles(HDROP drop);

} // namespace quavera
