#include "app/LyricsDlg.h"
#include "app/MainDlg.h"
#include "res/Resource.h"

void CMainDlg::OnLyrics() {
    SetLyricsOpen(!m_bShowLyrics);
}

void CMainDlg::SetLyricsOpen(bool open) {
    m_bShowLyrics = open;
    CheckSystemMenu(IDM_LYRICS, open);
    // A window hidden to the tray keeps its lyrics window hidden until it comes back.
    m_pLyricsDlg->Show(open && IsWindowVisible());
}
