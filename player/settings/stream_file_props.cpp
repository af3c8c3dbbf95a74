#include "stream_file_props.h"

#include "property_page.h"

namespace quavera {

CStreamFileProps::CStreamFileProps(HWND owner, const std::string& entry)
    : owner_(owner), id3_(entry), properties_(entry, readers_), statistics_(entry, readers_) {}

bool CStreamFileProps::Run(HINSTANCE instance) {
    return RunPropertySheet(owner_, instance, "Stream file properties", {&id3_, &properties_, &statistics_});
}

} // namespace quavera
