#pragma once
// "ID3 Tag": the tag at the end of the track's file, read only.
#include <string>

#include "property_page.h"

namespace quavera {

class CFileID3 final : public PropertyPage {
public:
    explicit CFileID3(const std::string& entry);

private:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnReset() override { ShowTag(); }
    void ShowTag();

    const std::string& entry_;
};

} // namespace quavera
