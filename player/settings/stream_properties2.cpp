#include "stream_properties2.h"

#include "resource.h"
#include "track_query.h"
#include "track_texts.h"

namespace quavera {

CStreamProperties2::CStreamProperties2(const std::string& entry, StreamReaders& readers)
    : PropertyPage(IDD_STREAM_PROPERTIES2), entry_(entry), readers_(readers) {}

BOOL CStreamProperties2::OnInitDialog() {
    // The rows from top to bottom.
    constexpr int kRows[] = {IDC_STATISTICS_TYPE,    IDC_STATISTICS_FREQUENCY,  IDC_STATISTICS_CHANNELS,
                             IDC_STATISTICS_BITRATE, IDC_STATISTICS_PACK_RATIO, IDC_STATISTICS_DESCRIPTION};
    const auto texts = StatisticsTexts(QueryTrack(window(), entry_, readers_));
    for (std::size_t row = 0; row < texts.size(); ++row) SetDlgItemTextA(window(), kRows[row], texts[row].c_str());
    return TRUE;
}

} // namespace quavera
