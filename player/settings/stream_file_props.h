#pragma once
// The track properties sheet, "Stream file properties": the ID3 tag, the
// file name, volume preset and durations, and the stream's MPEG parameters of
// one entry text. It shows them only: the entry text, the file and the
// registry stay as they were.
#include <windows.h>

#include <string>

#include "file_id3.h"
#include "stream_properties.h"
#include "stream_properties2.h"
#include "stream_readers.h"

namespace quavera {

class CStreamFileProps {
public:
    // entry: the caller's entry text, which outlives the sheet.
    CStreamFileProps(HWND owner, const std::string& entry);
    CStreamFileProps(const CStreamFileProps&) = delete;
    CStreamFileProps& operator=(const CStreamFileProps&) = delete;

    // Modal, opening on the first page; true when closed with OK.
    bool Run(HINSTANCE instance);

private:
    HWND owner_;
    // The sheet's own readers, apart from the ones playback reads through.
    StreamReaders readers_;
    CFileID3 id3_;
    CStreamProperties properties_;
    CStreamProperties2 statistics_;
};

} // namespace quavera
