#pragma once
// The player's reader for local files: the engine reads every byte of a local
// stream through it.
#include <windows.h>

#include <string>

#include "handles.h"
#include "input_source.h"

namespace quavera {

class FileReader final : public InputSource {
public:
    int open(const char* name) override;
    int close() override;
    std::uint32_t read(void* buffer, std::uint32_t count) override;
    int seek(std::int32_t position) override;
    std::int32_t tell() override;
    std::int32_t length() override;
    const char* name() override { return name_.c_str(); }
    int fileChanged() override { return 0; }

private:
    KernelHandle file_;
    std::string name_;
};

} // namespace quavera
