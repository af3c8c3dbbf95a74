#pragma once
// Consecutive local tracks play as one stream: the file reader reads on from
// one file into the next without a gap. The engine opens such a run under
// the name "list:" followed by the address of the reader's list in decimal.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quavera {

inline constexpr int kMaxRunLength = 3;

// Track k and the tracks after it that join it, at most kMaxRunLength in
// all, ending before the first that cannot join and at the end of the queue.
std::vector<int> RunFrom(int k, int count, const std::function<bool(int)>& canJoin);

// The name of the list at the address, in the pointer's full width.
std::string ListName(const void* list);
// The address that a list name carries; nothing when the name is not one.
std::optional<std::uintptr_t> ListAddress(const std::string& name);

} // namespace quavera
