#pragma once
// The ring of PCM blocks handed to the wave-out device: each block is a
// device header and a data area, both in locked, moveable, shareable global
// memory for the life of the ring.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <vector>

#include "handles.h"

namespace quavera {

class BlockRing {
public:
    struct Block {
        GlobalMemory headerMemory;
        GlobalMemory dataMemory;
        WAVEHDR* header = nullptr;
        std::uint8_t* data = nullptr;
    };

    BlockRing() = default;
    ~BlockRing() { release(); }
    BlockRing(const BlockRing&) = delete;
    BlockRing& operator=(const BlockRing&) = delete;

    // A machine that cannot give the ring its memory cannot play: a failed
    // allocation ends the process with a diagnostic.
    void allocate(int blocks, std::size_t bytesPerBlock);
    void release();
    bool allocated() const { return !blocks_.empty(); }
    int size() const { return static_cast<int>(blocks_.size()); }
    Block& operator[](int index) { return blocks_[static_cast<std::size_t>(index)]; }

private:
    std::vector<Block> blocks_;
};

} // namespace quavera
