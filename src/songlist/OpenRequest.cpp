#include "app/MainDlg.h"

#include "platform/sys/OpenRequests.h"
#include "search/FileChecks.h"

#include <filesystem>

// Another start of the program hands the running window what its command line named, as "Open
// with" on a folder or a song does: the window comes to the front and plays that folder as Browse
// does after its chooser, or the song, from the list when it is in it and from its folder when not.
LRESULT CMainDlg::OnOpenRequest(WPARAM, LPARAM) {
    const std::optional<std::string> path = TakeOpenRequest();
    if (!path)
        return 0;
    ShowWindow(SW_RESTORE);
    if (path->empty())
        return 0;
    if (!FileExists(*path)) {
        ChangeFolder(*path);
        return 0;
    }
    if (const int row = FindSongRow(*path); row >= 0) {
        PlayRow(row);
        return 0;
    }
    m_strRequestedSong = *path;
    ChangeFolder(std::filesystem::path(*path).parent_path().string());
    return 0;
}

int CMainDlg::FindSongRow(const std::string& path) const {
    const std::string name = std::filesystem::path(path).filename().string();
    for (int row = m_list.FindItem(name); row >= 0; row = m_list.FindItem(name, row)) {
        if (SongPath(row) == path)
            return row;
    }
    return -1;
}
