// What names say about playlists and entries, and the relative-name rules.
#include <gtest/gtest.h>

#include "playlist_names.h"

namespace quavera {
namespace {

TEST(PlaylistNames, FormatIsFoundAnywhereInTheNameInAnyCase) {
    EXPECT_EQ(PlaylistFormatOf("C:\\music\\list.pls"), PlaylistFormat::Pls);
    EXPECT_EQ(PlaylistFormatOf("C:\\MUSIC\\LIST.M3U"), PlaylistFormat::M3u);
    EXPECT_EQ(PlaylistFormatOf("song.pls.mp3"), PlaylistFormat::Pls);
    EXPECT_EQ(PlaylistFormatOf("C:\\x.m3u.d\\a.pls"), PlaylistFormat::Pls) << ".pls wins";
    EXPECT_EQ(PlaylistFormatOf("C:\\music\\a.mp3"), PlaylistFormat::None);
    EXPECT_EQ(PlaylistFormatOf(""), PlaylistFormat::None);
}

TEST(PlaylistNames, DownloadedPlaylistsAreNamedAfterTheAddressesLastPart) {
    EXPECT_EQ(PlaylistCopyName("http://host/lists/rock.m3u"), "rock.m3u");
    EXPECT_EQ(PlaylistCopyName("rock.pls"), "rock.pls");
}

TEST(PlaylistNames, RelativeEntriesAreTakenFromThePlaylistsFolder) {
    const std::string folder = FolderOf("C:\\music\\list.pls");
    EXPECT_EQ(folder, "C:\\music\\");
    EXPECT_EQ(ResolveEntryName(folder, "a.mp3"), "C:\\music\\a.mp3");
    EXPECT_EQ(ResolveEntryName(folder, "rock\\b.mp3;Alias"), "C:\\music\\rock\\b.mp3;Alias");
    EXPECT_EQ(ResolveEntryName(folder, "\\b.mp3"), "\\b.mp3");
    EXPECT_EQ(ResolveEntryName(folder, "\\\\server\\share\\c.mp3"), "\\\\server\\share\\c.mp3");
    EXPECT_EQ(ResolveEntryName(folder, "D:\\c.mp3"), "D:\\c.mp3");
    EXPECT_EQ(ResolveEntryName(folder, "D:c.mp3"), "C:\\music\\D:c.mp3") << "a drive needs its backslash";
    EXPECT_EQ(ResolveEntryName(folder, "http://host/x.mp3"), "http://host/x.mp3");
    EXPECT_EQ(ResolveEntryName(folder, "HTTPS://host/x.mp3"), "HTTPS://host/x.mp3");
    EXPECT_EQ(ResolveEntryName("", "a.mp3"), "a.mp3");
    EXPECT_EQ(FolderOf("list.pls"), "");
}

TEST(PlaylistNames, SavedNamesAreRelativeToThePlaylistsFolderWithCase) {
    const std::string folder = FolderOf("C:\\music\\x.pls");
    EXPECT_EQ(RelativeEntryName(folder, "C:\\music\\a.mp3"), "a.mp3");
    EXPECT_EQ(RelativeEntryName(folder, "C:\\music\\rock\\b.mp3"), "rock\\b.mp3");
    EXPECT_EQ(RelativeEntryName(folder, "D:\\c.mp3"), "D:\\c.mp3");
    EXPECT_EQ(RelativeEntryName(folder, "c:\\MUSIC\\a.mp3"), "c:\\MUSIC\\a.mp3");
    EXPECT_EQ(RelativeEntryName(folder, "C:\\musicbox\\a.mp3"), "C:\\musicbox\\a.mp3");
    EXPECT_EQ(RelativeEntryName(folder, "http://host/a.mp3"), "http://host/a.mp3");
    // Read back, a relative name is the name that was saved.
    for (const char* name : {"C:\\music\\a.mp3", "C:\\music\\rock\\b.mp3", "D:\\c.mp3"})
        EXPECT_EQ(ResolveEntryName(folder, RelativeEntryName(folder, name)), name);
}

} // namespace
} // namespace quavera
