#pragma once
// A variable that holds a value for a scope and then its earlier one again.
#include <utility>

namespace quavera {

template <typename T>
class ScopedValue {
public:
    ScopedValue(T& variable, T value) : variable_(variable), earlier_(std::exchange(variable, std::move(value))) {}
    ~ScopedValue() { variable_ = std::move(earlier_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& variable_;
    T earlier_;
};

} // namespace quavera
