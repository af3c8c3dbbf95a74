#pragma once
// "Properties": the track's file name, its volume preset and its file and
// playback durations, read only.
#include <string>

#include "property_page.h"
#include "stream_readers.h"

namespace quavera {

class CStreamProperties final : public PropertyPage {
public:
    CStreamProperties(const std::string& entry, StreamReaders& readers);

private:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnReset() override { Fill(); }
    void Fill();

    const std::string& entry_;
    StreamReaders& readers_;
};

} // namespace quavera
