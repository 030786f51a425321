#include "app/MainDlg.h"

#include "app/LyricsDlg.h"
#include "platform/mci/Mci.h"
#include "res/Resource.h"

namespace {

const char* ModeText(DWORD mode) {
    switch (mode) {
    case MCI_MODE_NOT_READY:
        return "Not Ready";
    case MCI_MODE_STOP:
        return "Stopped";
    case MCI_MODE_PLAY:
        return "Playing";
    case MCI_MODE_RECORD:
        return "Recording";
    case MCI_MODE_SEEK:
        return "Seeking";
    case MCI_MODE_PAUSE:
        return "Paused";
    case MCI_MODE_OPEN:
        return "Opened";
    default:
        return "Ready";
    }
}

} // namespace

void CMainDlg::OnTimer(UINT id) {
    if (id == IDT_STARTUP) {
        if (m_bRunHidden)
            OnHide();
        else if (m_bShowLyrics)
            SetLyricsOpen(true); // now that the main window shows, the lyrics window goes beside it
        KillTimer(IDT_STARTUP);
        return;
    }
    if (m_bAskingMapper)
        return;

    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_MODE;
    const char* text = "Ready";
    if (mciSendCommand(m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status) == 0) {
        text = ModeText(static_cast<DWORD>(status.dwReturn));
        if (status.dwReturn == MCI_MODE_STOP) {
            m_pLyricsDlg->FollowSong(); // the last words, sung just before the end
            SetTrayIcon(1);
            CloseDevice();
        }
    }
    if (m_bPaused)
        text = "Paused";
    SetDlgItemText(IDC_STATUS, text);

    status.dwItem = MCI_STATUS_POSITION;
    if (mciSendCommand(m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status) != 0) {
        if (m_bPlaying) {
            m_bPlaying = FALSE;
            OnPlay();
        }
        return;
    }
    if (m_bTracking)
        return;
    auto position = static_cast<DWORD>(status.dwReturn);
    DWORD seconds = position / 1000;
    SetDlgItemText(IDC_ELAPSED, FormatMinSec(seconds));
    m_slider.SetPos(static_cast<int>(seconds));
    if (m_bIntro && static_cast<DWORD>(m_nIntroLength) * 1000u < position) {
        m_bPlaying = FALSE;
        OnPlay();
    }
}

LRESULT CMainDlg::OnMciNotify(WPARAM, LPARAM) {
    if (m_bAskingMapper)
        return 0;
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_MODE;
    if (mciSendCommand(m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status) == 0 &&
        status.dwReturn == MCI_MODE_STOP) {
        m_pLyricsDlg->FollowSong();
        SetTrayIcon(1);
        CloseDevice();
    }
    return 0;
}

void CMainDlg::OnHScroll(UINT code, UINT pos, int) {
    int limit = static_cast<int>(m_dwLength / 1000);
    int target;
    switch (code) {
    case TB_PAGEUP:
    case TB_PAGEDOWN: {
        MCI_STATUS_PARMS status;
        status.dwItem = MCI_STATUS_POSITION;
        if (mciSendCommand(m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status) != 0)
            return;
        target =
            static_cast<int>(static_cast<DWORD>(status.dwReturn) / 1000) + (code == TB_PAGEUP ? -10 : 10);
        if (target < 0)
            target = 0;
        if (target > limit)
            target = limit;
        break;
    }
    case TB_THUMBPOSITION:
        target = static_cast<int>(pos);
        break;
    case TB_THUMBTRACK:
        m_bTracking = TRUE;
        SetDlgItemText(IDC_ELAPSED, FormatMinSec(pos));
        return;
    default:
        return;
    }

    MCI_SEEK_PARMS seek;
    seek.dwTo = static_cast<DWORD>(target) * 1000u;
    mciSendCommand(m_nDeviceID, MCI_SEEK, MCI_WAIT | MCI_TO, &seek);
    MCI_PLAY_PARMS play;
    play.dwCallback = GetSafeHwnd();
    MCIERROR result = mciSendCommand(m_nDeviceID, MCI_PLAY, MCI_NOTIFY, &play);
    if (result != 0) {
        SetTrayIcon(1);
        CloseDevice();
        ShowMciError(result);
    } else {
        m_bPaused = FALSE;
        SetDlgItemText(IDC_PAUSE, "Pause");
    }
    SetDlgItemText(IDC_ELAPSED, FormatMinSec(static_cast<DWORD>(target)));
    m_bTracking = FALSE;
}
