#include "app/MainDlg.h"

#include "platform/mci/Mci.h"
#include "res/Resource.h"
#include "search/FileChecks.h"

// Plays the user's initialisation file to its end, to put the synthesiser into a known state
// before the songs.
void CMainDlg::InitSoundcard() {
    if (m_nSCInitMode == 0)
        return;
    if (m_strSCInitFile.empty()) {
        MessageBox("Soundcard Init is on, but no initialization file defined!", "Shufflon",
                   MB_ICONINFORMATION);
        return;
    }
    if (!FileExists(m_strSCInitFile)) {
        MessageBox("Soundcard initialization file does not exist!", "Shufflon", MB_ICONINFORMATION);
        return;
    }
    SetDlgItemText(IDC_SONGNAME, "Initializing soundcard");
    CloseDevice();

    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = m_strSCInitFile.c_str();
    if (mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open) != 0) {
        MessageBox("Cannot initialize soundcard!", "Shufflon", MB_ICONINFORMATION);
        SetDlgItemText(IDC_SONGNAME, "");
        return;
    }
    m_nDeviceID = open.wDeviceID;

    MCI_STATUS_PARMS status;
    status.dwItem = MCI_SEQ_STATUS_PORT;
    if (mciSendCommand(m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status) != 0 ||
        LOWORD(status.dwReturn) != MCI_SEQ_MAPPER) {
        CloseDevice();
        SetDlgItemText(IDC_SONGNAME, "");
        return;
    }

    MCI_PLAY_PARMS play;
    play.dwCallback = GetSafeHwnd();
    mciSendCommand(m_nDeviceID, MCI_PLAY, MCI_WAIT, &play);
    CloseDevice();
    SetDlgItemText(IDC_SONGNAME, "");
}
