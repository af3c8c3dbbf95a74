#pragma once
// The readers through which the engine reads a name, and the choice between
// them: HTTP and HTTPS addresses get the HTTP reader, everything else the
// file reader. Each user of the engine (playback, the queue's scan, the
// track properties) keeps its own set, so that their connections stay apart.
#include <windows.h>

#include <string>

#include "file_reader.h"
#include "http_address.h"
#include "http_stream_reader.h"

namespace quavera {

class StreamReaders {
public:
    // The window that owns the HTTP reader's boxes and progress window.
    void setOwner(HWND owner) { http_.setOwner(owner); }
    InputSource& For(const std::string& name) {
        return IsHttpAddress(name) ? static_cast<InputSource&>(http_) : file_;
    }
    HttpStreamReader& http() { return http_; }
    FileReader& file() { return file_; }

private:
    FileReader file_;
    HttpStreamReader http_;
};

} // namespace quavera
