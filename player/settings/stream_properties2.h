#pragma once
// "MPEG statistics": the parameters of the track's stream, read only.
#include <string>

#include "property_page.h"
#include "stream_readers.h"

namespace quavera {

class CStreamProperties2 final : public PropertyPage {
public:
    CStreamProperties2(const std::string& entry, StreamReaders& readers);

private:
    BOOL OnInitDialog() override;

    const std::string& entry_;
    StreamReaders& readers_;
};

} // namespace quavera
