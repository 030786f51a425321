#include "app/MainDlg.h"

#include "res/Resource.h"

#include <cstdio>

void CMainDlg::SetPlayedMark(int row, LPARAM played) {
    m_list.SetItemImage(row, played != 0 ? 1 : 0);
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
    char text[64];
    std::snprintf(text, sizeof text, "Played/unplayed: %i / %i", m_nPlayedCount,
                  m_nSongCount - m_nPlayedCount);
    SetDlgItemText(IDC_PLAYEDCOUNT, text);
}
