#include "layer2_tables.h"

#include <bit>
#include <cmath>

#include "standard_tables.h"

namespace quavera {

namespace {

template <std::size_t Size>
void buildDegroup(std::array<std::array<std::uint8_t, 3>, Size>& table, unsigned steps) {
    for (unsigned c = 0; c < Size; ++c) {
        table[c] = {static_cast<std::uint8_t>(c % steps), static_cast<std::uint8_t>(c / steps % steps),
                    static_cast<std::uint8_t>(c / (steps * steps) % steps)};
    }
}

// Exact constants for the classes of 2^n - 1 steps (n >= 4); the table's
// printed decimals for the others.
void requantConstants(const tables::QuantClass& cls, double& c, double& d) {
    c = cls.c;
    d = cls.d;
    const unsigned levels = static_cast<unsigned>(cls.steps) + 1;
    if (levels >= 16 && (levels & (levels - 1)) == 0) {
        const int n = std::countr_zero(levels);
        c = static_cast<double>(levels) / cls.steps;
        d = std::ldexp(1.0, -(n - 1));
    }
}

void build(Layer2Tables& t) {
    for (int i = 0; i < 63; ++i) {
        t.scaleFactor[i] = static_cast<float>(2.0 / std::pow(2.0, i / 3.0));
    }
    t.scaleFactor[63] = 0.0f;
    for (std::size_t i = 0; i < tables::kQuantClasses.size(); ++i) {
        double c = 0;
        double d = 0;
        requantConstants(tables::kQuantClasses[i], c, d);
        t.cScaled[i] = static_cast<float>(c / 32768.0);
        t.dScaled[i] = static_cast<float>(32768.0 * d);
    }
    buildDegroup(t.degroup3, 3);
    buildDegroup(t.degroup5, 5);
    buildDegroup(t.degroup9, 9);
    for (std::size_t i = 0; i < tables::kQuantClasses.size(); ++i) {
        switch (tables::kQuantClasses[i].steps) {
        case 3:
            t.degroup[i] = t.degroup3.data();
            break;
        case 5:
            t.degroup[i] = t.degroup5.data();
            break;
        case 9:
            t.degroup[i] = t.degroup9.data();
            break;
        default:
            t.degroup[i] = nullptr;
        }
    }
}

} // namespace

const Layer2Tables& layer2Tables() {
    // Built in place: the degrouping pointers point into the object itself.
    static Layer2Tables tables;
    static const bool built = (build(tables), true);
    (void)built;
    return tables;
}

} // namespace quavera
