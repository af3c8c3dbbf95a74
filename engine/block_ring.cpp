#include "block_ring.h"

#include <cstdio>
#include <cstdlib>

namespace quavera {
namespace {

// Returns the locked memory; the handle goes to owner.
void* AllocateLocked(GlobalMemory& owner, std::size_t bytes, const char* what, int index) {
    owner.reset(GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, bytes));
    void* memory = owner ? GlobalLock(owner.get()) : nullptr;
    if (!memory) {
        std::fprintf(stderr, "Tamblin1: cannot allocate the %s of audio block %d (%zu bytes, error %lu)\n", what,
                     index, bytes, GetLastError());
        std::fflush(stderr);
        ExitProcess(static_cast<UINT>(-1));
    }
    return memory;
}

} // namespace

void BlockRing::allocate(int blocks, std::size_t bytesPerBlock) {
    release();
    blocks_.resize(static_cast<std::size_t>(blocks));
    for (int i = 0; i < blocks; ++i) {
        Block& block = (*this)[i];
        block.header = static_cast<WAVEHDR*>(AllocateLocked(block.headerMemory, sizeof(WAVEHDR), "header", i));
        block.data = static_cast<std::uint8_t*>(AllocateLocked(block.dataMemory, bytesPerBlock, "data", i));
        block.header->lpData = reinterpret_cast<LPSTR>(block.data);
    }
}

void BlockRing::release() {
    for (Block& block : blocks_) {
        if (block.headerMemory) GlobalUnlock(block.headerMemory.get());
        if (block.dataMemory) GlobalUnlock(block.dataMemory.get());
    }
    blocks_.clear();
}

} // namespace quavera
