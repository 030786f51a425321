#include "app/MainDlg.h"

#include "settings/SettingsDlg.h"

// The settings dialog works on a copy: nothing changes unless the user leaves it with OK, and
// nothing is saved or re-applied here. Every part of the player reads the members when it next
// needs them; the profile is written at close.
void CMainDlg::OnConfig() {
    CSettingsDlg dialog;
    dialog.m_bAutoplay = m_bAutoplay;
    dialog.m_bIntro = m_bIntro;
    dialog.m_nIntroLength = static_cast<UINT>(m_nIntroLength);
    dialog.m_bSubfolders = m_bSubfolders;
    dialog.m_nPlayStyle = m_nPlayStyle;
    dialog.m_strSaveFolder = m_strSaveFolder;
    dialog.m_bAllowRepetition = m_bAllowRepetition;
    dialog.m_strDeleteFolder = m_strDeleteFolder;
    dialog.m_bRunHidden = m_bRunHidden;
    dialog.m_strSCInitFile = m_strSCInitFile;
    dialog.m_nSCInitMode = m_nSCInitMode;
    dialog.m_bUseTaglist = m_bUseTaglist;
    if (dialog.DoModal() != IDOK)
        return;
    m_bAutoplay = dialog.m_bAutoplay;
    m_bIntro = dialog.m_bIntro;
    m_nIntroLength = static_cast<int>(dialog.m_nIntroLength);
    m_bSubfolders = dialog.m_bSubfolders;
    m_nPlayStyle = dialog.m_nPlayStyle;
    m_strSaveFolder = dialog.m_strSaveFolder;
    m_bAllowRepetition = dialog.m_bAllowRepetition;
    m_strDeleteFolder = dialog.m_strDeleteFolder;
    m_bRunHidden = dialog.m_bRunHidden;
    m_strSCInitFile = dialog.m_strSCInitFile;
    m_nSCInitMode = dialog.m_nSCInitMode;
    m_bUseTaglist = dialog.m_bUseTaglist;
}
