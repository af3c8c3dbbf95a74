#pragma once
// Title and "descript.ion" description of an audio file, for the status records.
#include <string>

namespace quavera {

// The file name without directory (after the last '\' or '/') and without
// extension (cut at the last '.').
std::string StreamTitle(const char* path);

// The text of the file's line in the "descript.ion" of its directory, or an
// empty text when there is none (also when the lookup path would not fit in
// 127 characters).
std::string LookupDescription(const char* path);

} // namespace quavera
