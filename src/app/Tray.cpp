#include "app/MainDlg.h"

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
    m_nTrayIconState = state;
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
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CMainDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    // A notification area that came after the program, or came back: the icon is added as it
    // would show by now.
    if (m_bTrayShown)
        return 0;
    AddTrayIcon();
    SetTrayIcon(m_nTrayIconState);
    const std::string name = GetDlgItemText(IDC_SONGNAME);
    SetTrayTip(name.empty() ? "Shufflon" : name);
    return 0;
}

LRESULT CMainDlg::OnTaskbarGone(WPARAM, LPARAM) {
    // Hide minimises from now on; a window hidden into the tray that went could not come back.
    m_bTrayShown = false;
    if (!IsWindowVisible())
        ShowWindow(SW_SHOW);
    return 0;
}
