// Layer III Huffman decoding on bits written by hand: the table text and its
// checks, linbits and signs, count1 limits and the granule's end position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "huffman.h"
#include "huffman_text.h"
#include "test_support.h"

namespace quavera::test {
namespace {

// Writes a codeword given as text, first bit first.
void putCode(BitWriter& w, const char* code) {
    for (const char* c = code; *c != '\0'; ++c) {
        w.put(*c == '1' ? 1u : 0u, 1);
    }
}

// The bytes with room for the reader's word loads behind them.
struct Bits {
    explicit Bits(const BitWriter& w) : bytes(w.bytes()) {
        bytes.resize(bytes.size() + 8, 0);
        reader.ptr = bytes.data();
    }
    std::size_t position() const { return static_cast<std::size_t>(reader.ptr - bytes.data()) * 8 + reader.bit; }
    Bytes bytes;
    BitReader reader;
};

struct Decoded {
    int x = 0;
    int y = 0;
    int v = 0;
    int w = 0;
};

Decoded decode(Bits& bits, int table) {
    Decoded d;
    huffmanDecode(bits.reader, huffmanTables()[static_cast<std::size_t>(table)], d.x, d.y, d.v, d.w);
    return d;
}

TEST(Huffman, BuiltInTextHoldsAllTablesWithSharedTrees) {
    HuffmanTables tables;
    ASSERT_EQ(readDecoderTables(kHuffmanTableText, tables), 34);
    for (int n = 17; n <= 23; ++n) {
        EXPECT_EQ(tables[n].ref, 16) << n;
        EXPECT_EQ(tables[n].tree, tables[16].tree) << n;
    }
    for (int n = 25; n <= 31; ++n) {
        EXPECT_EQ(tables[n].ref, 24) << n;
    }
    EXPECT_EQ(tables[23].linbits, 13u);
    EXPECT_EQ(tables[23].linmax, 8191u);
    EXPECT_TRUE(tables[32].count1 && tables[33].count1);
    EXPECT_EQ(tables[32].treelen, 31u);
    EXPECT_EQ(tables[0].treelen, 0u);
    // Long codes (up to 19 bits) are looked up with 9 bits and walked on.
    EXPECT_EQ(tables[24].lookahead, 9u);
    EXPECT_EQ(tables[1].lookahead, 3u);
}

TEST(Huffman, TextChecksReportWhatIsWrong) {
    const struct {
        const char* text;
        int result;
        const char* message;
    } cases[] = {
        {".table 0 0 0 0 0\n.treedata\n.end\n", 1, ""},
        {"# comment\n\n.table 0 0 0 0 0\n.treedata\n.end\n", 1, ""},
        {".tabel 0 0 0 0 0\n", -1, "huffman table 0 data corrupted\n"},
        {".table 0 0 0 0 0\n.treedata\n.table 2 0 0 0 0\n", -2, "wrong table number 1\n"},
        {".table 0 0 0 0 0\n.treedata\n.table 1 0 2 2 0\n.reference 0\n", -3, "wrong table 1 reference\n"},
        {".table 0 0 0 0 0\n.treedata\n.table 1 0 0 0 0\n.reference 5\n", -3, "wrong table 1 reference\n"},
        {".table 0 0 0 0 0\n.tree\n.end\n", 1, "huffman decodertable error at table 0\n"},
    };
    for (const auto& c : cases) {
        HuffmanTables tables;
        ::testing::internal::CaptureStdout();
        const int result = readDecoderTables(c.text, tables);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.message) << c.text;
        EXPECT_EQ(result, c.result) << c.text;
    }
}

TEST(Huffman, TableZeroReadsNothing) {
    BitWriter w;
    w.put(0xFFFF, 16);
    Bits bits(w);
    const Decoded d = decode(bits, 0);
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(bits.position(), 0u);
}

TEST(Huffman, LinbitsOnlyWhereTheTableHasThem) {
    {
        // Table 15, x = 15, y = 0: the sign of x follows at once.
        BitWriter w;
        putCode(w, "000001000111");
        w.put(1, 1);
        w.put(0x3FF, 10);
        Bits bits(w);
        const Decoded d = decode(bits, 15);
        EXPECT_EQ(d.x, -15);
        EXPECT_EQ(d.y, 0);
        EXPECT_EQ(bits.position(), 13u);
    }
    {
        // Table 16 (one linbit), x = 15 + 1.
        BitWriter w;
        putCode(w, "000001100");
        w.put(1, 1);
        w.put(0, 1);
        Bits bits(w);
        const Decoded d = decode(bits, 16);
        EXPECT_EQ(d.x, 16);
        EXPECT_EQ(d.y, 0);
        EXPECT_EQ(bits.position(), 11u);
    }
    {
        // Table 23 shares table 16's codes with 13 linbits: the largest value.
        BitWriter w;
        putCode(w, "000001100");
        w.put(8191, 13);
        w.put(1, 1);
        Bits bits(w);
        const Decoded d = decode(bits, 23);
        EXPECT_EQ(d.x, -8206);
        EXPECT_EQ(bits.position(), 23u);
    }
}

TEST(Huffman, CorruptCodeIsConcealed) {
    // Table 1 of this text is 16 by 16; a 1 bit leads out of its tree.
    const char* text = ".table 0 0 0 0 0\n.treedata\n.table 1 2 16 16 0\n.treedata\n01 05 00 11\n.end\n";
    HuffmanTables tables;
    ASSERT_EQ(readDecoderTables(text, tables), 2);
    BitWriter w;
    w.put(1, 1); // code
    w.put(1, 1); // sign of x
    w.put(0, 1); // sign of y
    Bits bits(w);
    Decoded d;
    ::testing::internal::CaptureStdout();
    huffmanDecode(bits.reader, tables[1], d.x, d.y, d.v, d.w);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Illegal Huffman code in data.\n");
    EXPECT_EQ(d.x, -30);
    EXPECT_EQ(d.y, 30);
    EXPECT_EQ(bits.position(), 3u);
}

// Count1 table B codes every quadruple in 4 bits; 1110 is (0, 0, 0, 1).
SpectrumFields count1Only(unsigned part23Length) {
    SpectrumFields f;
    f.part23Length = part23Length;
    f.count1TableSelect = 1;
    f.region1Start = 576;
    f.region2Start = 576;
    return f;
}

TEST(Huffman, Count1PastTheGranuleLosesItsLastQuadruple) {
    BitWriter w;
    for (int sign : {0, 1, 0}) {
        putCode(w, "1110");
        w.put(static_cast<std::uint32_t>(sign), 1);
    }
    for (unsigned length : {10u, 12u}) {
        Bits bits(w);
        int lines[576];
        std::fill(lines, lines + 576, 99);
        EXPECT_EQ(decodeGranuleSpectrum(bits.reader, bits.bytes.data(), 0, count1Only(length), lines), 8u) << length;
        EXPECT_EQ(lines[3], 1);
        EXPECT_EQ(lines[7], -1);
        EXPECT_EQ(lines[11], 0) << "the quadruple that ran past the end";
        EXPECT_EQ(lines[575], 0);
        EXPECT_EQ(bits.position(), length);
    }
}

TEST(Huffman, Count1NeverPassesLine575) {
    BitWriter w;
    for (int i = 0; i < 400; ++i) {
        putCode(w, "0000"); // (1, 1, 1, 1) in table B
        w.put(0, 4);
    }
    for (unsigned bigValues : {286u, 287u, 288u}) {
        SpectrumFields f = count1Only(4095); // far more bits than the lines hold
        f.bigValues = bigValues;             // table 0: no bits
        Bits bits(w);
        int lines[576 + 4];
        std::fill(lines, lines + 580, 99);
        const unsigned written = decodeGranuleSpectrum(bits.reader, bits.bytes.data(), 0, f, lines);
        EXPECT_EQ(written, bigValues == 287u ? 574u : 576u) << bigValues;
        EXPECT_EQ(lines[575], bigValues == 286u ? 1 : 0) << bigValues;
        EXPECT_EQ(lines[576], 99) << bigValues;
        EXPECT_EQ(bits.position(), 4095u) << bigValues;
    }
}

TEST(Huffman, BigValuesBeyondTheGranuleStopAtLine576) {
    BitWriter w;
    for (int i = 0; i < 300; ++i) {
        putCode(w, "01"); // table 1: (1, 0)
        w.put(0, 1);
    }
    SpectrumFields f;
    f.part23Length = 100;
    f.bigValues = 511;
    f.tableSelect[0] = f.tableSelect[1] = f.tableSelect[2] = 1;
    f.region1Start = 4000; // past the band table
    f.region2Start = 4000;
    Bits bits(w);
    int lines[576 + 2];
    lines[576] = lines[577] = 99;
    EXPECT_EQ(decodeGranuleSpectrum(bits.reader, bits.bytes.data(), 0, f, lines), 576u);
    EXPECT_EQ(lines[574], 1);
    EXPECT_EQ(lines[576], 99);
    EXPECT_EQ(bits.position(), 100u);
}

// Every code of a tree with its value, found by following the node pairs
// (an offset of 250 or more is added again at the node it leads to).
void collectCodes(const HuffmanTable& table, unsigned point, const std::string& path,
                  std::vector<std::pair<std::string, unsigned>>& codes) {
    const std::uint8_t* node = table.tree + 2 * point;
    if (node[0] == 0) {
        codes.emplace_back(path, node[1]);
        return;
    }
    for (unsigned side = 0; side < 2; ++side) {
        unsigned next = point;
        while (table.tree[2 * next + side] >= 250) {
            next += table.tree[2 * next + side];
        }
        collectCodes(table, next + table.tree[2 * next + side], path + (side == 0 ? "0" : "1"), codes);
    }
}

// A value as written after its code: linbits where the table has them and
// the value is at its largest, then the sign of a value that is not zero.
int putValue(BitWriter& w, const HuffmanTable& table, unsigned value, unsigned largest, std::mt19937& random) {
    auto v = static_cast<int>(value);
    if (table.linbits > 0 && value == largest) {
        const auto extra = static_cast<std::uint32_t>(random()) & table.linmax;
        w.put(extra, static_cast<int>(table.linbits));
        v += static_cast<int>(extra);
    }
    if (v != 0) {
        const bool negative = random() % 2 != 0;
        w.put(negative ? 1u : 0u, 1);
        v = negative ? -v : v;
    }
    return v;
}

// Every code of every table, each three times in random order with random
// linbits and signs, decodes to what was written and takes its bits: codes
// the first-level lookup holds, those of its second-level tables and the
// longest ones alike.
TEST(Huffman, EveryCodeOfEveryTableDecodes) {
    const HuffmanTables& tables = huffmanTables();
    std::mt19937 random(5);
    for (std::size_t n = 1; n < tables.size(); ++n) {
        const HuffmanTable& table = tables[n];
        if (table.treelen == 0 || (table.ref >= 0 && table.linbits == tables[table.ref].linbits)) {
            continue;
        }
        std::vector<std::pair<std::string, unsigned>> codes;
        collectCodes(table, 0, "", codes);
        std::vector<std::pair<std::string, unsigned>> order;
        for (int copy = 0; copy < 3; ++copy) {
            order.insert(order.end(), codes.begin(), codes.end());
        }
        std::shuffle(order.begin(), order.end(), random);
        BitWriter w;
        std::vector<Decoded> expected;
        std::vector<std::size_t> ends;
        for (const auto& [code, value] : order) {
            putCode(w, code.c_str());
            Decoded d;
            if (table.count1) {
                d.v = putValue(w, table, value >> 3 & 1, 1, random);
                d.w = putValue(w, table, value >> 2 & 1, 1, random);
                d.x = putValue(w, table, value >> 1 & 1, 1, random);
                d.y = putValue(w, table, value & 1, 1, random);
            } else {
                d.x = putValue(w, table, value >> 4, table.xlen - 1, random);
                d.y = putValue(w, table, value & 15, table.ylen - 1, random);
            }
            expected.push_back(d);
            ends.push_back(w.bitCount());
        }
        Bits bits(w);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Decoded d = decode(bits, static_cast<int>(n));
            ASSERT_EQ(d.x, expected[i].x) << "table " << n << " code " << order[i].first;
            ASSERT_EQ(d.y, expected[i].y) << "table " << n << " code " << order[i].first;
            if (table.count1) {
                ASSERT_EQ(d.v, expected[i].v) << "table " << n << " code " << order[i].first;
                ASSERT_EQ(d.w, expected[i].w) << "table " << n << " code " << order[i].first;
            }
            ASSERT_EQ(bits.position(), ends[i]) << "table " << n << " code " << order[i].first;
        }
    }
}

// The channels of a granule decoded side by side give what each gives
// alone: random data through three regions of different tables (one of them
// table 0), then count1 quadruples up to the granule's end.
TEST(Huffman, GranulesSideBySideDecodeAsAlone) {
    std::mt19937 random(9);
    const auto below = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
    BitWriter w;
    for (int i = 0; i < 1500; ++i) {
        w.put(below(256), 8);
    }
    Bits bits(w);
    const std::uint8_t* base = bits.bytes.data();
    for (int round = 0; round < 40; ++round) {
        SpectrumFields f[2];
        std::int64_t start[2];
        for (int ch = 0; ch < 2; ++ch) {
            f[ch].part23Length = 200 + below(3000);
            f[ch].bigValues = below(300);
            for (unsigned& table : f[ch].tableSelect) {
                table = below(32);
            }
            f[ch].tableSelect[below(3)] = 0;
            f[ch].count1TableSelect = below(2);
            f[ch].region1Start = 2 * below(100);
            f[ch].region2Start = f[ch].region1Start + 2 * below(200);
            start[ch] = (ch == 0 ? 0 : start[0] + f[0].part23Length) + below(64);
        }
        int alone[2][576];
        unsigned aloneNonzero[2];
        for (int ch = 0; ch < 2; ++ch) {
            BitReader reader{base + start[ch] / 8, static_cast<unsigned>(start[ch] % 8)};
            aloneNonzero[ch] = decodeGranuleSpectrum(reader, base, start[ch], f[ch], alone[ch]);
        }
        int paired[2][576];
        SpectrumJob jobs[2] = {{start[0], start[0], f[0], paired[0], 0}, {start[1], start[1], f[1], paired[1], 0}};
        decodeGranuleSpectra(base, jobs, 2);
        for (int ch = 0; ch < 2; ++ch) {
            EXPECT_EQ(jobs[ch].nonzero, aloneNonzero[ch]) << round;
            EXPECT_TRUE(std::equal(alone[ch], alone[ch] + 576, paired[ch])) << round << " channel " << ch;
        }
    }
}

} // namespace
} // namespace quavera::test
