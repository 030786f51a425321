#include "app/MainDlg.h"

#include "platform/mci/Mci.h"
#include "platform/ui/Shell.h"
#include "res/Resource.h"
#include "search/CDirStruct.h"

#include <utility>

void CMainDlg::OnBrowse() {
    std::optional<std::string> folder = BrowseForFolder(GetSafeHwnd(), "Please, select MIDI files folder");
    if (!folder || m_bClosing)
        return;
    ChangeFolder(*folder);
}

void CMainDlg::ChangeFolder(const std::string& folder) {
    if (m_bPaused) {
        // A paused song is abandoned; one that plays goes on.
        m_bPlaying = FALSE;
        m_bPaused = FALSE;
        KillTimer(IDT_PROGRESS);
        SetDlgItemText(IDC_PLAY, "Play");
        SetDlgItemText(IDC_PAUSE, "Pause");
    }
    if (m_bUseTaglist)
        SaveTagList();
    if (m_bClosing)
        return;
    SetDlgItemText(IDC_FOLDER, folder);
    SearchFolder(folder);
}

void CMainDlg::SearchFolder(const std::string& folder) {
    // From here until the search has completed and the marks are read, the list is not the
    // folder's: a close in between leaves the folder's tag file as it is.
    m_bSearchCompleted = false;
    m_bTagsRead = false;
    m_list.DeleteAllItems();
    // Rows are a song's identity only within one list.
    m_history.clear();
    const std::string requestedSong = std::exchange(m_strRequestedSong, std::string());

    CDirStruct engine;
    m_pSearch = &engine;
    int result = engine.Search(folder, &m_list, m_bSubfolders);
    m_pSearch = nullptr;
    if (m_bClosing)
        return;
    m_bSearchCompleted = result == 0;
    if (!m_bSearchCompleted) {
        KillTimer(IDT_PROGRESS);
        CloseDevice();
        SetTrayIcon(1);
        m_bPlaying = FALSE;
        SetDlgItemText(IDC_PLAY, "Play");
        m_list.DeleteAllItems();
        ShowEmptyList();
        MessageBox("Directory search aborted !!!", "Shufflon", MB_OK | MB_ICONINFORMATION);
        return;
    }

    m_nPlayedCount = 0;
    m_nSongCount = engine.m_nFiles;
    if (m_nSongCount > 0) {
        ShowTotals(m_nSongCount, engine.m_dwTotalSize);
        ShowCurrentSong("");
        m_slider.SetPos(0);
        EnableDlgItem(IDC_PLAY, true);
        EnableDlgItem(IDC_NEXT, true);
        EnableDlgItem(IDC_PAUSE, false);
        if (m_bUseTaglist)
            LoadTagList();
        // The template's placeholder counts would otherwise stay until a song starts.
        ShowPlayedCount();
        if (m_bClosing)
            return;
        // A song the user named plays first, Autoplay or not.
        const int requested = requestedSong.empty() ? -1 : FindSongRow(requestedSong);
        if (requested >= 0)
            PlayRow(requested);
        else if (m_bAutoplay)
            OnNext();
    } else {
        m_bTagsRead = true; // an empty list has no marks to lose
        ShowEmptyList();
    }
}

void CMainDlg::ShowEmptyList() {
    ShowTotals(0, 0);
    // An empty list has no songs played or to play, whatever the counters still hold.
    ShowPlayedCount(0, 0);
    ShowCurrentSong("");
    SetDlgItemText(IDC_ELAPSED, "0");
    SetDlgItemText(IDC_LENGTH, "0");
    m_slider.SetPos(0);
    EnableDlgItem(IDC_PLAY, false);
    EnableDlgItem(IDC_NEXT, false);
    EnableDlgItem(IDC_PAUSE, false);
}
