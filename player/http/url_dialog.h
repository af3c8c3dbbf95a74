#pragma once
// The "Internet streaming" dialog: asks for the address of a stream.
#include <windows.h>

#include <optional>
#include <string>

namespace quavera {

// Shows the dialog with recent in its field. The address on OK: the text
// completed as typed addresses are, or recent unchanged when the field was
// not edited. Nothing on Cancel.
std::optional<std::string> AskForUrl(HINSTANCE instance, HWND owner, const std::string& recent);

} // namespace quavera
