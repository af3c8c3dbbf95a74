#include "continuous_run.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace quavera {
namespace {

constexpr char kListPrefix[] = "list:";
constexpr std::size_t kListPrefixLength = sizeof kListPrefix - 1;

// The address is printed as a "long", the pointer's width on 32-bit Windows;
// where "long" is narrower than a pointer (64-bit Windows) as a "long long".
using AddressNumber = std::conditional_t<sizeof(long) >= sizeof(void*), long, long long>;

} // namespace

std::vector<int> RunFrom(int k, int count, const std::function<bool(int)>& canJoin) {
    std::vector<int> run{k};
    for (int next = k + 1; next <= count && static_cast<int>(run.size()) < kMaxRunLength && canJoin(next); ++next)
        run.push_back(next);
    return run;
}

std::string ListName(const void* list) {
    const auto number = static_cast<AddressNumber>(reinterpret_cast<std::uintptr_t>(list));
    char text[48];
    if constexpr (std::is_same_v<AddressNumber, long>)
        std::snprintf(text, sizeof text, "list:%ld", static_cast<long>(number));
    else
        std::snprintf(text, sizeof text, "list:%lld", static_cast<long long>(number));
    return text;
}

std::optional<std::uintptr_t> ListAddress(const std::string& name) {
    if (name.compare(0, kListPrefixLength, kListPrefix) != 0) return std::nullopt;
    const char* digits = name.c_str() + kListPrefixLength;
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(digits, &end, 10);
    if (end == digits || *end != '\0' || errno != 0) return std::nullopt;
    return static_cast<std::uintptr_t>(static_cast<AddressNumber>(number));
}

} // namespace quavera
