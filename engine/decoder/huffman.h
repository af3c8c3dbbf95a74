#pragma once
// Layer III Huffman decoding: the decoder tables parsed from their text form
// into node-pair trees with a direct-lookup table each, one code at a time,
// and the big-value and count1 regions of one granule.
#include <array>
#include <cstdint>
#include <vector>

#include "bitstream.h"

namespace quavera {

struct HuffmanTable {
    char name[4] = {};
    unsigned xlen = 0;
    unsigned ylen = 0;
    unsigned linbits = 0;
    unsigned linmax = 0;
    int ref = -1;
    // Node pairs: a pair whose first byte is 0 is a leaf holding x << 4 | y,
    // otherwise the bytes are forward offsets for bit 0 and bit 1; an offset
    // of 250 or more is added again at the node it leads to.
    const std::uint8_t* tree = nullptr;
    unsigned treelen = 0;
    bool count1 = false;
    // Indexed by the next lookahead bits: a code's value (x << 4 | y) and
    // length, or for a longer code a link to a second-level table indexed by
    // the bits after those; second-level tables follow the first level.
    // Zero where only the tree decides (a code longer than the lookahead
    // and 10 more bits, or a damaged one). See huffman.cpp.
    unsigned lookahead = 0;
    std::vector<std::uint32_t> lookup;
    std::vector<std::uint8_t> ownTree;
};

using HuffmanTables = std::array<HuffmanTable, 34>;

// Parses the table text. Returns the number of tables read (34 for a complete
// text) or a negative code after printing what is wrong.
int readDecoderTables(const char* text, HuffmanTables& tables);

// The built-in tables, parsed on first use.
const HuffmanTables& huffmanTables();

// Decodes one code at the reader's position, sign and linbits applied. Count1
// tables give v, w, x, y; the others x, y (v and w untouched).
void huffmanDecode(BitReader& reader, const HuffmanTable& table, int& x, int& y, int& v, int& w);

// The granule fields the spectrum decoding needs.
struct SpectrumFields {
    unsigned part23Length = 0;
    unsigned bigValues = 0;
    unsigned tableSelect[3] = {};
    unsigned count1TableSelect = 0;
    // Lines where regions 1 and 2 of the big values start.
    unsigned region1Start = 0;
    unsigned region2Start = 0;
};

// Fills 576 quantised values; part2Start is the bit position (from the
// reservoir's start) where the granule's scale factors began, base the byte
// that position counts from. Leaves the reader exactly at the granule's end
// and returns the number of lines that may be non-zero.
unsigned decodeGranuleSpectrum(BitReader& reader, const std::uint8_t* base, std::int64_t part2Start,
                               const SpectrumFields& fields, int* lines);

// One granule's spectrum for decodeGranuleSpectra: bit positions count from
// the base the call is given.
struct SpectrumJob {
    std::int64_t part2Start; // where the granule's scale factors began
    std::int64_t start;      // where its Huffman data begins
    SpectrumFields fields;
    int* lines;              // 576 quantised values out
    unsigned nonzero;        // out: the lines that may be non-zero
};

// The spectra of one or two granules (the channels of a granule), decoded
// side by side: each code depends only on the codes before it in its own
// granule, so the processor overlaps the two.
void decodeGranuleSpectra(const std::uint8_t* base, SpectrumJob* jobs, int count);

} // namespace quavera
