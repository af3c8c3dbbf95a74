#pragma once
// The player's reader for local files: the engine reads every byte of a local
// stream through it. It also reads a list of files as one stream, for the
// queue's continuous playback: when a file ends within a read, the read goes
// on in the next file of the list.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "handles.h"
#include "input_source.h"

namespace quavera {

class FileReader final : public InputSource {
public:
    // Takes the files that are to play as one stream and gives the name under
    // which the engine opens them. Only the reader's own current list opens
    // under such a name; any other "list:" text is an ordinary file name.
    std::string ListName(std::vector<std::string> files);
    // Which file of the open list is being read: 0 for the first, and always
    // 0 for a single file.
    std::size_t listPosition() const { return position_; }

    int open(const char* name) override;
    int close() override;
    std::uint32_t read(void* buffer, std::uint32_t count) override;
    int seek(std::int32_t position) override;
    std::int32_t tell() override;
    std::int32_t length() override;
    const char* name() override { return name_.c_str(); }
    // Takes and clears the flag that a read went on into the next file.
    int fileChanged() override;

private:
    bool OpenFile(const std::string& name);
    bool OpenNextFile();
    DWORD ReadFile(char* buffer, DWORD count);

    KernelHandle file_;
    std::string name_;
    std::vector<std::string> list_;
    bool listOpen_ = false;
    std::size_t position_ = 0;
    // The later files of a list are read from the end of their ID3v2 tag on.
    std::int32_t audioStart_ = 0;
    std::uint32_t previousFileBytes_ = 0;
    bool fileChanged_ = false;
};

} // namespace quavera
