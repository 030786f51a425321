#include "app/MainDlg.h"

#include "platform/mci/Mci.h"
#include "res/Resource.h"

#include <cstdio>

std::string FormatMinSec(DWORD seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u", static_cast<unsigned>((seconds % 3600) / 60),
                  static_cast<unsigned>(seconds % 60));
    return text;
}

void CMainDlg::CloseDevice() {
    mciSendCommand(m_nDeviceID, MCI_CLOSE, 0, nullptr);
}

void CMainDlg::ShowMciError(MCIERROR code) {
    char text[128] = "";
    if (!mciGetErrorString(code, text, sizeof text))
        text[0] = '\0';
    MessageBox(text, "Shufflon Error", MB_OK | MB_ICONSTOP);
}

MCIERROR CMainDlg::OpenAndPlay(HWND notify, const std::string& path) {
    CloseDevice();

    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = path.c_str();
    if (MCIERROR code = mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open))
        return code;
    m_nDeviceID = open.wDeviceID;

    MCI_STATUS_PARMS status;
    status.dwItem = MCI_SEQ_STATUS_PORT;
    if (MCIERROR code = mciSendCommand(m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status)) {
        CloseDevice();
        return code;
    }
    if (LOWORD(status.dwReturn) != MCI_SEQ_MAPPER) {
        // The box keeps the queue running; until it is answered, ticks and notices must not
        // mistake the device that is open but not yet started for a song that has ended.
        m_bAskingMapper = true;
        int answer = MessageBox("The MIDI mapper is not available. Continue?", "", MB_YESNO);
        m_bAskingMapper = false;
        if (answer == IDNO) {
            CloseDevice();
            return 0;
        }
    }

    MCI_PLAY_PARMS play;
    play.dwCallback = notify;
    if (MCIERROR code = mciSendCommand(m_nDeviceID, MCI_PLAY, MCI_NOTIFY, &play)) {
        CloseDevice();
        return code;
    }

    MCI_SET_PARMS set;
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    if (MCIERROR code = mciSendCommand(m_nDeviceID, MCI_SET, MCI_SET_TIME_FORMAT, &set)) {
        CloseDevice();
        return code;
    }

    status.dwItem = MCI_STATUS_LENGTH;
    if (MCIERROR code = mciSendCommand(m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status)) {
        CloseDevice();
        return code;
    }

    m_dwLength = static_cast<DWORD>(status.dwReturn);
    m_slider.SetRangeMin(0, true);
    m_slider.SetRangeMax(static_cast<int>(m_dwLength / 1000), true);
    m_slider.SetPageSize(10);
    m_slider.SetTicFreq(10);
    SetDlgItemText(IDC_LENGTH, FormatMinSec(m_dwLength / 1000));
    return 0;
}

MCIERROR CMainDlg::ReopenAt(HWND notify, const std::string& path, DWORD milliseconds) {
    OpenAndPlay(notify, path);
    MCI_SEEK_PARMS seek;
    seek.dwTo = milliseconds;
    mciSendCommand(m_nDeviceID, MCI_SEEK, MCI_WAIT | MCI_TO, &seek);
    return 0;
}
