#pragma once
// Owner of a WinInet handle (session, connection or request).
#include <windows.h>

#include <wininet.h>

#include "win_handles.h"

namespace quavera {

using InternetHandle = UniqueHandle<ClosedBy<HINTERNET, &InternetCloseHandle>>;

} // namespace quavera
