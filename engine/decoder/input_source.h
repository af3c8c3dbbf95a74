#pragma once
// The reader through which the decoder reads every byte of a stream. The player
// supplies it (file reader, list reader, HTTP reader) and keeps ownership; the
// engine never deletes one. The slot order of the eight operations is part of
// the binary interface between Quavera.exe and Tamblin1.dll, so the class has
// no virtual destructor and no other virtual members.
#include <cstdint>

namespace quavera {

class InputSource {
public:
    // read() sets this bit when the delivered bytes continue in the next file of
    // a list; read(nullptr, 0) then tells how many of them belonged to the
    // previous file.
    static constexpr std::uint32_t kNextFileFlag = 0x80000000u;

    virtual int open(const char* name) = 0;
    virtual int close() = 0;
    virtual std::uint32_t read(void* buffer, std::uint32_t count) = 0;
    virtual int seek(std::int32_t position) = 0;
    virtual std::int32_t tell() = 0;
    virtual std::int32_t length() = 0;
    virtual const char* name() = 0;
    // The player's own query (the file reader: take and clear its file-changed
    // flag). The engine never calls it.
    virtual int fileChanged() = 0;

protected:
    InputSource() = default;
    ~InputSource() = default;
    InputSource(const InputSource&) = default;
    InputSource& operator=(const InputSource&) = default;
};

} // namespace quavera
