#pragma once
// The built-in Layer III Huffman decoder tables as text (generated).

namespace quavera {

extern const char kHuffmanTableText[];

} // namespace quavera
