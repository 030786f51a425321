#include "app/MainDlg.h"

#include "app/LyricsDlg.h"
#include "platform/ui/Shell.h"
#include "res/Resource.h"

void CMainDlg::AddTrayIcon() {
    NOTIFYICONDATA data;
    data.hWnd = GetSafeHwnd();
    data.uID = IDC_TRAYICON;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = m_hIdleIcon;
    data.szTip = "Shufflon";
    m_bTrayShown = Shell_NotifyIcon(NIM_ADD, data) != FALSE;
}

void CMainDlg::SetTrayIcon(int state) {
    NOTIFYICONDATA data;
    data.hWnd = GetSafeHwnd();
    data.uID = IDC_TRAYICON;
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = state == 1 ? m_hIdleIcon : m_hIcon;
    Shell_NotifyIcon(NIM_MODIFY, data);
}

void CMainDlg::SetTrayTip(const std::string& tip) {
    NOTIFYICONDATA data;
    data.hWnd = GetSafeHwnd();
    data.uID = IDC_TRAYICON;
    data.uFlags = NIF_TIP;
    data.szTip = tip;
    Shell_NotifyIcon(NIM_MODIFY, data);
}

void CMainDlg::RemoveTrayIcon() {
    NOTIFYICONDATA data;
    data.hWnd = GetSafeHwnd();
    data.uID = IDC_TRAYICON;
    Shell_NotifyIcon(NIM_DELETE, data);
    m_bTrayShown = false;
}

LRESULT CMainDlg::OnTrayNotify(WPARAM, LPARAM lParam) {
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
        // While the MIDI mapper question waits, the device it asks about must stay as it is.
        if (m_bAskingMapper)
            break;
        if (m_bPlaying)
            OnPause();
        else
            OnPlay();
        break;
    case WM_RBUTTONDOWN:
        ShowWindow(SW_SHOW);
        if (m_bShowLyrics)
            m_pLyricsDlg->Show(true);
        break;
    default:
        break;
    }
    return 0;
}
