#pragma once
// The file kinds the player opens, and the Open dialog's filter built from them.
#include <string>

namespace quavera {

// "|"-separated pairs of description and patterns, ending in "|".
std::string OpenFilterText();

} // namespace quavera
