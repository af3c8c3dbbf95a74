#include "file_id3.h"

#include "entry_text.h"
#include "id3v1_file.h"
#include "resource.h"

namespace quavera {
namespace {

struct TagField {
    int id;
    std::string Id3v1Tag::*text;
    int limit;
};

constexpr TagField kFields[] = {
    {IDC_ID3_TITLE, &Id3v1Tag::title, 30},   {IDC_ID3_ARTIST, &Id3v1Tag::artist, 30},
    {IDC_ID3_ALBUM, &Id3v1Tag::album, 30},   {IDC_ID3_YEAR, &Id3v1Tag::year, 4},
    {IDC_ID3_COMMENT, &Id3v1Tag::comment, 30},
};

} // namespace

CFileID3::CFileID3(const std::string& entry) : PropertyPage(IDD_FILE_ID3), entry_(entry) {}

BOOL CFileID3::OnInitDialog() {
    ShowTag();
    return TRUE;
}

void CFileID3::ShowTag() {
    const std::optional<Id3v1Tag> tag = ReadId3v1Tag(EntryFileName(entry_));
    for (const TagField& field : kFields) {
        SetDlgItemTextA(window(), field.id, tag ? ((*tag).*field.text).c_str() : "---");
        SendDlgItemMessageA(window(), field.id, EM_LIMITTEXT, static_cast<WPARAM>(field.limit), 0);
    }
}

void CFileID3::OnCommand(int id, int code) {
    if (code != EN_CHANGE) return;
    for (const TagField& field : kFields)
        if (field.id == id) MarkModified();
}

} // namespace quavera
