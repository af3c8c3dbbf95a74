#pragma once
// A plain file as the decoder's InputSource, for the native tools and tests.
#include <cstdio>
#include <string>

#include "input_source.h"

namespace quavera {

class FileSource final : public InputSource {
public:
    FileSource() = default;
    ~FileSource() { close(); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    int open(const char* name) override;
    int close() override;
    std::uint32_t read(void* buffer, std::uint32_t count) override;
    int seek(std::int32_t position) override;
    std::int32_t tell() override;
    std::int32_t length() override;
    const char* name() override { return name_.c_str(); }
    int fileChanged() override { return 0; }

private:
    std::FILE* file_ = nullptr;
    std::string name_;
    std::int32_t length_ = 0;
};

} // namespace quavera
