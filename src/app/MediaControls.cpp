#include "app/MediaControls.h"

#include "app/MainDlg.h"
#include "platform/mci/Mci.h"
#include "res/Resource.h"

#include <algorithm>

MainWindowControls MainWindowMediaControls() {
    MainWindowControls controls;
    controls.dialogId = IDD_MAIN;
    controls.play = IDC_PLAY;
    controls.next = IDC_NEXT;
    controls.pause = IDC_PAUSE;
    controls.status = IDC_STATUS;
    controls.songList = IDC_SONGLIST;
    controls.slider = IDC_SLIDER;
    controls.songName = IDC_SONGNAME;
    controls.trayId = IDC_TRAYICON;
    controls.trayMessage = WM_TRAYNOTIFY;
    controls.playerMessage = WM_PLAYERCONTROL;
    controls.stopCaption = "Stop";
    controls.resumeCaption = "Resume";
    controls.playingStatus = "Playing";
    return controls;
}

LRESULT CMainDlg::OnPlayerControl(WPARAM code, LPARAM value) {
    switch (code) {
    case PLAYER_GETSHUFFLE:
        return m_nPlayStyle == 0;
    case PLAYER_SETSHUFFLE:
        // As the settings dialog's OK does: the member changes, the profile follows at close. A
        // stored style other than 0 and 1 that means the order asked for stays as it is.
        if ((m_nPlayStyle == 0) != (value != 0))
            m_nPlayStyle = value ? 0 : 1;
        return 0;
    case PLAYER_GETVOLUME:
        return m_nVolume;
    case PLAYER_SETVOLUME:
        SetVolume(static_cast<int>(value));
        return 0;
    case PLAYER_CANGOBACK:
        return PreviousInHistory() >= 0;
    case PLAYER_PREVIOUS:
        OnPrevious();
        return 0;
    default:
        return 0;
    }
}

void CMainDlg::SetVolume(int percent) {
    m_nVolume = std::clamp(percent, 0, 100);
    mci::SetVolume(m_nVolume / 100.0);
}
