#include "app/MainDlg.h"

#include "res/Resource.h"

#include <cstdio>

void CMainDlg::SetPlayedMark(int row, LPARAM played) {
    m_list.SetItemImage(row, PlayedImage(played));
    m_list.SetItemData(row, played);
}

bool CMainDlg::IsPlayed(int row) const {
    return m_list.GetItemData(row) != 0;
}

std::string CMainDlg::SongPath(int row) const {
    return m_list.GetItemText(row, 1) + m_list.GetItemText(row, 0);
}

void CMainDlg::SelectAndShow(int row) {
    m_list.SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
    m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    m_list.EnsureVisible(row, false);
}

void CMainDlg::ShowPlayedCount() {
    ShowPlayedCount(m_nPlayedCount, m_nSongCount - m_nPlayedCount);
}

void CMainDlg::ShowPlayedCount(int played, int unplayed) {
    char text[64];
    std::snprintf(text, sizeof text, "Played/unplayed: %i / %i", played, unplayed);
    SetDlgItemText(IDC_PLAYEDCOUNT, text);
}

void CMainDlg::ShowTotals(int songs, DWORD bytes) {
    char count[32], size[32];
    std::snprintf(count, sizeof count, "%d", songs);
    std::snprintf(size, sizeof size, "%lu kB", static_cast<unsigned long>(bytes >> 10));
    SetDlgItemText(IDC_SONGCOUNT, count);
    SetDlgItemText(IDC_SONGSIZE, size);
}
