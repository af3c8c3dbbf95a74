#include "huffman.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "huffman_text.h"

namespace quavera {

namespace {

constexpr unsigned kMaxLookahead = 9;
constexpr unsigned kMaxCodeBits = 32;
constexpr std::uint8_t kEscape = 250;

// The node that bit side leads to from point (an offset of 250 or more is
// added again at the node it leads to), or -1 outside the tree.
int follow(const HuffmanTable& table, unsigned point, unsigned side) {
    const std::uint8_t* node = table.tree + 2 * point;
    while (node[side] >= kEscape) {
        point += node[side];
        if (point >= table.treelen) {
            return -1;
        }
        node = table.tree + 2 * point;
    }
    point += node[side];
    return point < table.treelen ? static_cast<int>(point) : -1;
}

bool isLeaf(const HuffmanTable& table, int point) {
    return table.tree[2 * point] == 0;
}

// Walks the tree from the root with bits from next(); returns the bits used,
// or -1 when no leaf is reached within kMaxCodeBits or the walk leaves the
// tree (only a damaged text can do that).
template <class NextBit>
int walk(const HuffmanTable& table, NextBit next, unsigned& value) {
    int point = table.treelen > 0 ? 0 : -1;
    for (unsigned used = 0; point >= 0; ++used) {
        if (isLeaf(table, point)) {
            value = table.tree[2 * point + 1];
            return static_cast<int>(used);
        }
        if (used == kMaxCodeBits) {
            return -1;
        }
        point = follow(table, static_cast<unsigned>(point), next());
    }
    return -1;
}

// The bits of pattern taken from the most significant of its width down,
// then zeros.
struct PatternBits {
    unsigned pattern;
    unsigned width;
    unsigned operator()() {
        if (width == 0) {
            return 0;
        }
        --width;
        return pattern >> width & 1u;
    }
};

// The node after the bits of pattern, or -1 when they end at a leaf or leave
// the tree first.
int nodeAfter(const HuffmanTable& table, unsigned pattern, unsigned width) {
    int point = table.treelen > 0 ? 0 : -1;
    for (PatternBits bits{pattern, width}; point >= 0 && bits.width > 0;) {
        if (isLeaf(table, point)) {
            return -1;
        }
        point = follow(table, static_cast<unsigned>(point), bits());
    }
    return point;
}

// The most bits a code below point needs; limit + 1 when one needs more.
unsigned depthBelow(const HuffmanTable& table, int point, unsigned limit) {
    if (isLeaf(table, point)) {
        return 0;
    }
    if (limit == 0) {
        return 1;
    }
    unsigned deepest = 0;
    for (unsigned side = 0; side < 2; ++side) {
        const int next = follow(table, static_cast<unsigned>(point), side);
        if (next >= 0) {
            deepest = std::max(deepest, 1 + depthBelow(table, next, limit - 1));
        }
    }
    return deepest;
}

// Lookup entries: a leaf holds the value and the code's whole length, a link
// the width and start of a second-level table.
constexpr std::uint32_t kLookupLeaf = 1u << 31;
constexpr unsigned kMaxSecondLevel = 10;

std::uint32_t lookupEntry(const HuffmanTable& table, unsigned pattern, unsigned width) {
    unsigned value = 0;
    const int used = walk(table, PatternBits{pattern, width}, value);
    return used >= 0 && static_cast<unsigned>(used) <= width ? kLookupLeaf | static_cast<unsigned>(used) << 8 | value
                                                             : 0;
}

void buildLookup(HuffmanTable& table) {
    int longest = 0;
    for (unsigned p = 0; p < (1u << kMaxLookahead); ++p) {
        unsigned value = 0;
        const int used = walk(table, PatternBits{p, kMaxLookahead}, value);
        longest = std::max(longest, used < 0 ? static_cast<int>(kMaxCodeBits) : used);
    }
    // At least one bit: the reader cannot peek 0 bits.
    const unsigned d = std::clamp(static_cast<unsigned>(longest), 1u, kMaxLookahead);
    table.lookahead = d;
    try {
        table.lookup.assign(std::size_t{1} << d, 0);
        for (unsigned i = 0; i < (1u << d); ++i) {
            table.lookup[i] = lookupEntry(table, i, d);
            const int node = table.lookup[i] == 0 ? nodeAfter(table, i, d) : -1;
            if (node < 0) {
                continue;
            }
            const unsigned width = std::min(depthBelow(table, node, kMaxSecondLevel), kMaxSecondLevel);
            table.lookup[i] = width << 24 | static_cast<std::uint32_t>(table.lookup.size());
            for (unsigned s = 0; s < (1u << width); ++s) {
                table.lookup.push_back(lookupEntry(table, i << width | s, d + width));
            }
        }
    } catch (const std::bad_alloc&) {
        std::fputs("Shit\n", stdout);
        std::exit(-111);
    }
}

// Command lines skip comments and lines that start with a control character.
class TextCursor {
public:
    explicit TextCursor(const char* text) : at_(text) {}

    std::string commandLine() {
        while (*at_ != '\0' && (*at_ == '#' || static_cast<unsigned char>(*at_) < ' ')) {
            skipLine();
        }
        const char* start = at_;
        skipLine();
        return std::string(start, at_);
    }
    // The next hexadecimal number across blanks and newlines; false at the
    // end of the text or on anything else.
    bool hexNumber(unsigned& value) {
        char* end = nullptr;
        const unsigned long parsed = std::strtoul(at_, &end, 16);
        if (end == at_) {
            return false;
        }
        at_ = end;
        value = static_cast<unsigned>(parsed & 0xFF);
        return true;
    }
    void skipLine() {
        while (*at_ != '\0' && *at_ != '\n') {
            ++at_;
        }
        if (*at_ == '\n') {
            ++at_;
        }
    }

private:
    const char* at_;
};

void readTree(TextCursor& cursor, HuffmanTable& table, unsigned n) {
    table.ref = -1;
    try {
        table.ownTree.assign(std::max(2u * table.treelen, 2u), 0);
    } catch (const std::bad_alloc&) {
        std::printf("heaperror at table %d\n", static_cast<int>(n));
        std::exit(-10);
    }
    unsigned pairs = 0;
    for (; pairs < table.treelen; ++pairs) {
        unsigned zero = 0;
        unsigned one = 0;
        if (!cursor.hexNumber(zero) || !cursor.hexNumber(one)) {
            break;
        }
        table.ownTree[2 * pairs] = static_cast<std::uint8_t>(zero);
        table.ownTree[2 * pairs + 1] = static_cast<std::uint8_t>(one);
    }
    if (pairs > 0) {
        cursor.skipLine();
    }
    table.tree = table.ownTree.data();
}

} // namespace

int readDecoderTables(const char* text, HuffmanTables& tables) {
    TextCursor cursor(text);
    for (unsigned n = 0; n < tables.size(); ++n) {
        HuffmanTable& table = tables[n];
        table = HuffmanTable{};
        char command[16] = {};
        unsigned treelen = 0;
        const std::string header = cursor.commandLine();
        std::sscanf(header.c_str(), "%15s %3s %u %u %u %u", command, table.name, &treelen, &table.xlen, &table.ylen,
                    &table.linbits);
        if (std::strcmp(command, ".end") == 0) {
            return static_cast<int>(n);
        }
        if (std::strcmp(command, ".table") != 0) {
            std::printf("huffman table %u data corrupted\n", n);
            return -1;
        }
        table.linbits = std::min(table.linbits, 13u);
        table.linmax = (1u << table.linbits) - 1u;
        table.treelen = treelen;
        if (std::strtol(table.name, nullptr, 10) != static_cast<long>(n)) {
            std::printf("wrong table number %u\n", n);
            return -2;
        }
        table.count1 = std::strcmp(table.name, "32") == 0 || std::strcmp(table.name, "33") == 0;
        char kind[16] = {};
        int number = -1;
        const std::string body = cursor.commandLine();
        std::sscanf(body.c_str(), "%15s %d", kind, &number);
        if (std::strcmp(kind, ".reference") == 0) {
            // Only an earlier table can lend its tree.
            if (number < 0 || number >= static_cast<int>(n) || tables[number].xlen != table.xlen ||
                tables[number].ylen != table.ylen) {
                std::printf("wrong table %u reference\n", n);
                return -3;
            }
            table.ref = number;
            table.tree = tables[number].tree;
            table.treelen = tables[number].treelen;
        } else if (std::strcmp(kind, ".treedata") == 0) {
            readTree(cursor, table, n);
        } else {
            std::printf("huffman decodertable error at table %d\n", static_cast<int>(n));
            table.treelen = 0;
        }
        if (table.ref >= 0) {
            // The same tree: the same lookup.
            table.lookahead = tables[table.ref].lookahead;
            table.lookup = tables[table.ref].lookup;
        } else {
            buildLookup(table);
        }
    }
    return static_cast<int>(tables.size());
}

const HuffmanTables& huffmanTables() {
    static const HuffmanTables* const tables = [] {
        auto* built = new HuffmanTables;
        if (readDecoderTables(kHuffmanTableText, *built) != static_cast<int>(built->size())) {
            std::fputs("decoder table read error\n", stdout);
            std::exit(4);
        }
        return built;
    }();
    return *tables;
}

namespace {

int withSign(BitReader& reader, int value) {
    return value != 0 && reader.read(1) != 0 ? -value : value;
}

// One code by the tree, bit by bit: what the lookup leaves to the tree (a
// damaged code, concealed, or one too long for it).
void decodeByWalk(BitReader& reader, const HuffmanTable& table, int& x, int& y, int& v, int& w) {
    if (table.treelen == 0) {
        x = y = 0;
        if (table.count1) {
            v = w = 0;
        }
        return;
    }
    unsigned value = 0;
    const bool legal = walk(table, [&reader] { return reader.read(1); }, value) >= 0;
    if (table.count1) {
        if (legal) {
            v = withSign(reader, static_cast<int>(value >> 3 & 1));
            w = withSign(reader, static_cast<int>(value >> 2 & 1));
            x = withSign(reader, static_cast<int>(value >> 1 & 1));
            y = withSign(reader, static_cast<int>(value & 1));
            return;
        }
        v = w = 0;
    }
    if (legal) {
        x = static_cast<int>(value >> 4);
        y = static_cast<int>(value & 15);
    } else {
        std::fputs("Illegal Huffman code in data.\n", stdout);
        x = static_cast<int>(2 * (table.xlen - 1));
        y = static_cast<int>(2 * (table.ylen - 1));
    }
    if (table.linbits > 0 && static_cast<unsigned>(x) == table.xlen - 1) {
        x += static_cast<int>(reader.read(table.linbits));
    }
    x = withSign(reader, x);
    if (table.linbits > 0 && static_cast<unsigned>(y) == table.ylen - 1) {
        y += static_cast<int>(reader.read(table.linbits));
    }
    y = withSign(reader, y);
}

// The lookup entry of the code at the top of bits, or 0.
[[gnu::always_inline]] inline std::uint32_t lookupCode(const HuffmanTable& table, std::uint64_t bits) {
    std::uint32_t entry = table.lookup[static_cast<std::size_t>(bits >> (64 - table.lookahead))];
    if ((entry & kLookupLeaf) == 0 && entry != 0) {
        const unsigned width = entry >> 24;
        entry = table.lookup[(entry & 0xFFFFFFu) + static_cast<std::size_t>((bits << table.lookahead) >> (64 - width))];
    }
    return entry;
}

// value negated when the top bit of rest is set and value is not zero; that
// sign bit is then consumed. Without branches: random signs would defeat
// branch prediction.
[[gnu::always_inline]] inline int takeSign(int value, std::uint64_t& rest, unsigned& used) {
    const unsigned present = value != 0 ? 1u : 0u;
    const auto negative = static_cast<int>(static_cast<unsigned>(rest >> 63) & present);
    rest <<= present;
    used += present;
    return (value ^ -negative) + negative;
}

// A value of a big-value pair: its linbits when the table has them and the
// value is the table's largest, then its sign.
[[gnu::always_inline]] inline int takeValue(int value, unsigned largest, unsigned linbits, std::uint64_t& rest,
                                            unsigned& used) {
    if (linbits > 0 && static_cast<unsigned>(value) == largest) {
        value += static_cast<int>(rest >> (64 - linbits));
        rest <<= linbits;
        used += linbits;
    }
    return takeSign(value, rest, used);
}

// A code by lookup with the bits that follow it, all within one load: a
// big-value pair with its linbits and signs (at most 19 + 2 (13 + 1) bits),
// or a count1 quadruple into lines v, w, x, y with a sign bit for each value
// that is not zero (at most 6 + 4). False when the tree must decide.
template <bool Count1>
[[gnu::always_inline]] inline bool decodeByLookup(const HuffmanTable& table, const std::uint8_t* base,
                                                  std::uint64_t& pos, int* values) {
    const std::uint64_t bits = bitsAt(base, pos);
    const std::uint32_t entry = lookupCode(table, bits);
    if (entry == 0) {
        return false;
    }
    unsigned used = entry >> 8 & 31;
    std::uint64_t rest = bits << used;
    if constexpr (Count1) {
        for (int i = 0; i < 4; ++i) {
            values[i] = takeSign(static_cast<int>(entry >> (3 - i) & 1), rest, used);
        }
    } else {
        values[0] = takeValue(static_cast<int>(entry >> 4 & 15), table.xlen - 1, table.linbits, rest, used);
        values[1] = takeValue(static_cast<int>(entry & 15), table.ylen - 1, table.linbits, rest, used);
    }
    pos += used;
    return true;
}

// Positions count bits from base.
std::uint64_t positionOf(const BitReader& reader, const std::uint8_t* base) {
    return static_cast<std::uint64_t>(reader.ptr - base) * 8 + reader.bit;
}

// decodeByWalk at a bit position.
void decodeByWalkAt(const HuffmanTable& table, const std::uint8_t* base, std::uint64_t& pos, int& x, int& y, int& v,
                    int& w) {
    BitReader reader = readerAt(base, pos);
    decodeByWalk(reader, table, x, y, v, w);
    pos = positionOf(reader, base);
}

// Any code by lookup, or by the tree where the lookup leaves it.
void decodeCode(const HuffmanTable& table, const std::uint8_t* base, std::uint64_t& pos, int& x, int& y, int& v,
                int& w) {
    int values[4];
    const bool found =
        table.count1 ? decodeByLookup<true>(table, base, pos, values) : decodeByLookup<false>(table, base, pos, values);
    if (!found) {
        decodeByWalkAt(table, base, pos, x, y, v, w);
    } else if (table.count1) {
        v = values[0];
        w = values[1];
        x = values[2];
        y = values[3];
    } else {
        x = values[0];
        y = values[1];
    }
}

} // namespace

void huffmanDecode(BitReader& reader, const HuffmanTable& table, int& x, int& y, int& v, int& w) {
    std::uint64_t pos = reader.bit;
    decodeCode(table, reader.ptr, pos, x, y, v, w);
    reader = readerAt(reader.ptr, pos);
}

namespace {

// One granule's spectrum being decoded: its bit position and lines, and the
// big-value region it is in.
class SpectrumCursor {
public:
    SpectrumCursor(const std::uint8_t* base, const SpectrumJob& job) : base_(base), job_(job) {
        pos_ = static_cast<std::uint64_t>(job.start);
        // Damaged side information may claim more big values than lines.
        const unsigned bigEnd = std::min(2 * job.fields.bigValues, 576u);
        limits_[0] = std::min(job.fields.region1Start, bigEnd);
        limits_[1] = std::min(job.fields.region2Start, bigEnd);
        limits_[2] = bigEnd;
    }

    // The table of the first region from the current one with lines left,
    // zeroing the lines of regions coded with table 0; null when the big
    // values are done.
    const HuffmanTable* regionTable(const HuffmanTables& tables) {
        for (; region_ < 3; ++region_) {
            const HuffmanTable& table = tables[job_.fields.tableSelect[region_]];
            if (table.treelen != 0 && line_ < limits_[region_]) {
                return &table;
            }
            for (; line_ < limits_[region_]; ++line_) {
                job_.lines[line_] = 0;
            }
        }
        return nullptr;
    }
    bool regionLeft() const { return line_ < limits_[region_]; }
    void pair(const HuffmanTable& table) {
        int* xy = job_.lines + line_;
        if (!decodeByLookup<false>(table, base_, pos_, xy)) {
            int v = 0;
            int w = 0;
            decodeByWalkAt(table, base_, pos_, xy[0], xy[1], v, w);
        }
        line_ += 2;
    }
    void bigValuesAlone(const HuffmanTables& tables) {
        while (const HuffmanTable* table = regionTable(tables)) {
            while (regionLeft()) {
                pair(*table);
            }
        }
    }
    // The count1 region up to the granule's end; returns the lines that may
    // be non-zero and leaves the position at the end.
    unsigned finish(const HuffmanTables& tables) {
        int* lines = job_.lines;
        const auto end = static_cast<std::uint64_t>(job_.part2Start + job_.fields.part23Length);
        const HuffmanTable& quad = tables[32 + job_.fields.count1TableSelect];
        bool quadruples = false;
        while (line_ < 573 && pos_ < end) {
            if (!decodeByLookup<true>(quad, base_, pos_, lines + line_)) {
                decodeByWalkAt(quad, base_, pos_, lines[line_ + 2], lines[line_ + 3], lines[line_], lines[line_ + 1]);
            }
            line_ += 4;
            quadruples = true;
        }
        // The last quadruple ran past the granule's data: it belongs to no line.
        if (quadruples && pos_ > end) {
            line_ -= 4;
        }
        std::fill(lines + line_, lines + 576, 0);
        return line_;
    }

private:
    const std::uint8_t* base_;
    const SpectrumJob& job_;
    std::uint64_t pos_;
    unsigned line_ = 0;
    unsigned limits_[3];
    int region_ = 0;
};

} // namespace

void decodeGranuleSpectra(const std::uint8_t* base, SpectrumJob* jobs, int count) {
    const HuffmanTables& tables = huffmanTables();
    SpectrumCursor first(base, jobs[0]);
    if (count == 2) {
        // Pair by pair in turns, while both are in a region.
        SpectrumCursor second(base, jobs[1]);
        const HuffmanTable* a = first.regionTable(tables);
        const HuffmanTable* b = second.regionTable(tables);
        while (a != nullptr && b != nullptr) {
            while (first.regionLeft() && second.regionLeft()) {
                first.pair(*a);
                second.pair(*b);
            }
            a = first.regionTable(tables);
            b = second.regionTable(tables);
        }
        second.bigValuesAlone(tables);
        jobs[1].nonzero = second.finish(tables);
    }
    first.bigValuesAlone(tables);
    jobs[0].nonzero = first.finish(tables);
}

unsigned decodeGranuleSpectrum(BitReader& granuleReader, const std::uint8_t* base, std::int64_t part2Start,
                               const SpectrumFields& fields, int* lines) {
    SpectrumJob job{part2Start, static_cast<std::int64_t>(positionOf(granuleReader, base)), fields, lines, 0};
    decodeGranuleSpectra(base, &job, 1);
    granuleReader = readerAt(base, static_cast<std::uint64_t>(part2Start + fields.part23Length));
    return job.nonzero;
}

} // namespace quavera
