#include "huffman.h"

#include <algorithm>
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
constexpr std::uint8_t kNoLeaf = 255;

// Walks the tree from the root with bits from next(); returns the bits used,
// or -1 when no leaf is reached within kMaxCodeBits or the walk leaves the
// tree (only a damaged text can do that).
template <class NextBit>
int walk(const HuffmanTable& table, NextBit next, unsigned& value) {
    unsigned point = 0;
    for (unsigned used = 0; point < table.treelen; ++used) {
        const std::uint8_t* node = table.tree + 2 * point;
        if (node[0] == 0) {
            value = node[1];
            return static_cast<int>(used);
        }
        if (used == kMaxCodeBits) {
            return -1;
        }
        const unsigned side = next();
        while (node[side] >= kEscape) {
            point += node[side];
            if (point >= table.treelen) {
                return -1;
            }
            node = table.tree + 2 * point;
        }
        point += node[side];
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

void buildLookahead(HuffmanTable& table) {
    int longest = 0;
    for (unsigned p = 0; p < (1u << kMaxLookahead); ++p) {
        unsigned value = 0;
        const int used = walk(table, PatternBits{p, kMaxLookahead}, value);
        longest = std::max(longest, used < 0 ? static_cast<int>(kMaxCodeBits) : used);
    }
    // At least one bit: the reader cannot peek 0 bits.
    table.lookahead = std::clamp(static_cast<unsigned>(longest), 1u, kMaxLookahead);
    const std::size_t entries = std::size_t{1} << table.lookahead;
    try {
        table.lookValue.assign(entries, 0);
        table.lookLength.assign(entries, kNoLeaf);
    } catch (const std::bad_alloc&) {
        std::fputs("Shit\n", stdout);
        std::exit(-111);
    }
    for (unsigned i = 0; i < entries; ++i) {
        unsigned value = 0;
        const int used = walk(table, PatternBits{i, table.lookahead}, value);
        if (used >= 0) {
            table.lookValue[i] = static_cast<std::uint8_t>(value);
            table.lookLength[i] = static_cast<std::uint8_t>(used);
        }
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
        buildLookahead(table);
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

// Inlined into the granule loop, which keeps its reader in registers.
[[gnu::always_inline]] inline void decodeCode(BitReader& reader, const HuffmanTable& table, int& x, int& y, int& v,
                                              int& w) {
    if (table.treelen == 0) {
        x = y = 0;
        if (table.count1) {
            v = w = 0;
        }
        return;
    }
    // One 25-bit look serves the code and, mostly, its sign bits too: a code
    // found by lookup has at most 9 bits, its signs at most 4.
    constexpr unsigned kAhead = 25;
    const std::uint32_t bits = reader.peek(kAhead);
    const std::uint32_t ahead = bits >> (kAhead - table.lookahead);
    const unsigned length = table.lookLength[ahead];
    unsigned value = 0;
    bool legal = true;
    if (length > table.lookahead) {
        legal = walk(table, [&reader] { return reader.read(1); }, value) >= 0;
    } else {
        value = table.lookValue[ahead];
        if (table.count1) {
            // The sign bits of v, w, x, y follow in that order, one per
            // non-zero value; the last one is y's.
            static constexpr std::uint8_t kSetBits[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
            const unsigned count = kSetBits[value & 15u];
            std::uint32_t signs = bits >> (kAhead - length - count) & BitReader::kMask[count];
            reader.skip(length + count);
            // Random signs would defeat branch prediction: no branches here.
            const auto take = [&signs](unsigned set) {
                const int result = static_cast<int>(set) * (1 - 2 * static_cast<int>(signs & 1u));
                signs >>= set;
                return result;
            };
            y = take(value & 1u);
            x = take(value >> 1 & 1u);
            w = take(value >> 2 & 1u);
            v = take(value >> 3 & 1u);
            return;
        }
        const auto px = static_cast<int>(value >> 4);
        const auto py = static_cast<int>(value & 15);
        if (table.linbits == 0 ||
            (static_cast<unsigned>(px) != table.xlen - 1 && static_cast<unsigned>(py) != table.ylen - 1)) {
            // No linbits: the sign bits of the non-zero values follow the
            // code, the last one y's. Negated without branches.
            const unsigned sx = px != 0 ? 1u : 0u;
            const unsigned sy = py != 0 ? 1u : 0u;
            const std::uint32_t signs = bits >> (kAhead - length - sx - sy) & BitReader::kMask[sx + sy];
            reader.skip(length + sx + sy);
            const auto negY = static_cast<int>(signs & sy);
            const auto negX = static_cast<int>(signs >> sy & sx);
            y = (py ^ -negY) + negY;
            x = (px ^ -negX) + negX;
            return;
        }
        x = px;
        y = py;
        reader.skip(length);
    }
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
    if (!legal) {
        std::fputs("Illegal Huffman code in data.\n", stdout);
        x = static_cast<int>(2 * (table.xlen - 1));
        y = static_cast<int>(2 * (table.ylen - 1));
    } else if (length > table.lookahead) {
        x = static_cast<int>(value >> 4);
        y = static_cast<int>(value & 15);
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

} // namespace

void huffmanDecode(BitReader& reader, const HuffmanTable& table, int& x, int& y, int& v, int& w) {
    decodeCode(reader, table, x, y, v, w);
}

unsigned decodeGranuleSpectrum(BitReader& granuleReader, const std::uint8_t* base, std::int64_t part2Start,
                               const SpectrumFields& fields, int* lines) {
    BitReader reader = granuleReader;
    const HuffmanTables& tables = huffmanTables();
    const std::int64_t end = part2Start + fields.part23Length;
    const auto position = [&] { return static_cast<std::int64_t>(reader.ptr - base) * 8 + reader.bit; };

    // Damaged side information may claim more big values than lines.
    const unsigned bigEnd = std::min(2 * fields.bigValues, 576u);
    const unsigned limits[3] = {std::min(fields.region1Start, bigEnd), std::min(fields.region2Start, bigEnd), bigEnd};
    unsigned line = 0;
    int v = 0;
    int w = 0;
    for (int region = 0; region < 3; ++region) {
        const HuffmanTable& table = tables[fields.tableSelect[region]];
        for (; line < limits[region]; line += 2) {
            decodeCode(reader, table, lines[line], lines[line + 1], v, w);
        }
    }

    const HuffmanTable& quad = tables[32 + fields.count1TableSelect];
    bool quadruples = false;
    while (line < 573 && position() < end) {
        decodeCode(reader, quad, lines[line + 2], lines[line + 3], lines[line], lines[line + 1]);
        line += 4;
        quadruples = true;
    }
    // The last quadruple ran past the granule's data: it belongs to no line.
    if (quadruples && position() > end) {
        line -= 4;
    }
    granuleReader.ptr = base + end / 8;
    granuleReader.bit = static_cast<unsigned>(end % 8);
    std::fill(lines + line, lines + 576, 0);
    return line;
}

} // namespace quavera
