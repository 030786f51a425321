#include "app/MainDlg.h"

#include "platform/mci/Mci.h"
#include "platform/sys/CRand.h"
#include "playback/ChooseNextSong.h"
#include "res/Resource.h"

namespace {

constexpr UINT kProgressPeriod = 500;
// How far back Previous can go: more than a day of songs.
constexpr std::size_t kHistoryLength = 1000;

} // namespace

void CMainDlg::OnPlay() {
    m_slider.SetPos(0);

    if (m_bPlaying) {
        CloseDevice();
        m_bPlaying = FALSE;
        SetTrayIcon(1);
        ShowIdleControls();
        return;
    }

    m_bPlaying = TRUE;
    SetDlgItemText(IDC_PLAY, "Stop");

    int count = m_list.GetItemCount();
    SongChoice choice = ChooseNextSong(
        m_nCurrent, count, m_nPlayStyle, m_bAllowRepetition != FALSE,
        [this](int row) { return IsPlayed(row); }, [] { return rand_classic(); });
    m_nCurrent = choice.current;

    KillTimer(IDT_PROGRESS);

    if (choice.allPlayed) {
        CloseDevice();
        int answer = MessageBox("Hey, you, all songs have been played!\nPlay again?", "Shufflon message",
                                MB_YESNO | MB_ICONINFORMATION);
        if (answer == IDYES) {
            for (int row = 0; row < count; ++row)
                SetPlayedMark(row, FALSE);
            m_nPlayedCount = 0;
        } else {
            m_bPlaying = FALSE;
            SetTrayIcon(1);
            ShowIdleControls();
            SetTimer(IDT_PROGRESS, kProgressPeriod);
            return;
        }
    }

    StartRow(choice.row);
}

void CMainDlg::StartRow(int row) {
    int count = m_list.GetItemCount();
    if (m_nSCInitMode > 1)
        InitSoundcard();

    // A row that does not exist (Play on an empty list, reachable from the tray) is not counted,
    // so the counter never claims more played songs than the list has.
    LPARAM mark = kCountedMark;
    if (IsPlayed(row))
        mark = m_list.GetItemData(row); // already counted or not, it stays so
    else if (row < count)
        ++m_nPlayedCount;
    SetTimer(IDT_PROGRESS, kProgressPeriod);
    SetPlayedMark(row, mark);
    m_nCurrent = row;
    ShowPlayedCount();

    MCIERROR code = ShowAndOpenRow(row);
    if (code != 0) {
        KillTimer(IDT_PROGRESS);
        ShowMciError(code);
        CloseDevice();
        m_bPlaying = FALSE;
        SetTrayIcon(1);
        ShowOpenFailure();
        return;
    }
    SetTrayIcon(0);
    SetTimer(IDT_PROGRESS, kProgressPeriod);
    EnableDlgItem(IDC_PAUSE, true);
}

void CMainDlg::PlayRow(int row) {
    // As Play does from idle, with the row given; a song playing or paused gives way to it.
    m_slider.SetPos(0);
    KillTimer(IDT_PROGRESS);
    if (m_bPaused) {
        m_bPaused = FALSE;
        SetDlgItemText(IDC_PAUSE, "Pause");
    }
    m_bPlaying = TRUE;
    SetDlgItemText(IDC_PLAY, "Stop");
    StartRow(row);
}

int CMainDlg::PreviousInHistory() const {
    // The last entry is the song playing or played last; the way back is the latest entry before
    // it whose song is still in the list. At the first song, that song itself.
    const std::size_t end = m_history.size() > 1 ? m_history.size() - 1 : m_history.size();
    for (std::size_t i = end; i-- > 0;) {
        if (m_history[i] >= 0)
            return static_cast<int>(i);
    }
    return -1;
}

void CMainDlg::OnPrevious() {
    const int entry = PreviousInHistory();
    if (entry < 0)
        return;
    const int row = m_history[static_cast<std::size_t>(entry)];
    // The song played again becomes the last entry once more.
    m_history.resize(static_cast<std::size_t>(entry));
    PlayRow(row);
}

void CMainDlg::ForgetRow(int row) {
    // A deleted song leaves a gap rather than nothing, so that the song playing is still known as
    // the last entry when it was the one deleted.
    for (int& played : m_history) {
        if (played == row)
            played = -1;
        else if (played > row)
            --played;
    }
}

MCIERROR CMainDlg::ShowAndOpenRow(int row) {
    std::string path = SongPath(row);
    if (row >= 0 && row < m_list.GetItemCount()) {
        if (m_history.size() == kHistoryLength)
            m_history.erase(m_history.begin());
        m_history.push_back(row);
    }
    SelectAndShow(row);
    ShowCurrentSong(path);
    return OpenAndPlay(GetSafeHwnd(), path);
}

void CMainDlg::ShowIdleControls() {
    SetDlgItemText(IDC_PLAY, "Play");
    SetDlgItemText(IDC_PAUSE, "Pause");
    m_bPaused = FALSE;
    ShowCurrentSong("");
    SetDlgItemText(IDC_ELAPSED, "0");
    SetDlgItemText(IDC_LENGTH, "0");
    EnableDlgItem(IDC_PAUSE, false);
}

void CMainDlg::ShowOpenFailure() {
    ShowIdleControls();
    m_slider.SetPos(0);
    EnableDlgItem(IDC_PLAY, true);
    EnableDlgItem(IDC_NEXT, true);
}

void CMainDlg::OnNext() {
    if (m_bPlaying) {
        // The next tick finds no device and starts the next song.
        CloseDevice();
        SetTrayIcon(1);
    } else {
        OnPlay();
    }
}

void CMainDlg::OnPause() {
    if (!m_bPaused) {
        MCI_STATUS_PARMS status;
        status.dwItem = MCI_STATUS_POSITION;
        MCIERROR code = mciSendCommand(m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status);
        if (code == 0)
            m_dwPausePos = static_cast<DWORD>(status.dwReturn);
        KillTimer(IDT_PROGRESS);
        CloseDevice();
        if (code != 0) {
            ShowMciError(code);
            return;
        }
        m_bPaused = TRUE;
        SetTrayIcon(1);
        SetDlgItemText(IDC_PAUSE, "Resume");
        SetDlgItemText(IDC_STATUS, "Paused");
        return;
    }

    ReopenAt(GetSafeHwnd(), m_strCurrentFile, m_dwPausePos);
    SetTimer(IDT_PROGRESS, kProgressPeriod);
    MCI_PLAY_PARMS play;
    play.dwCallback = GetSafeHwnd();
    MCIERROR code = mciSendCommand(m_nDeviceID, MCI_PLAY, MCI_NOTIFY, &play);
    if (code != 0) {
        CloseDevice();
        SetTrayIcon(1);
        ShowMciError(code);
        return;
    }
    m_bPaused = FALSE;
    SetTrayIcon(0);
    SetDlgItemText(IDC_PAUSE, "Pause");
}

void CMainDlg::OnDblclkList(NMHDR*, LRESULT* result) {
    *result = 0;
    if (m_list.GetSelectedCount() == 0)
        return;
    int row = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (row < 0)
        return;

    SetPlayedMark(row, IsPlayed(row) ? m_list.GetItemData(row) : kUncountedMark);
    m_nCurrent = row;

    MCIERROR code = ShowAndOpenRow(row);
    if (code != 0) {
        KillTimer(IDT_PROGRESS);
        ShowMciError(code);
        CloseDevice();
        m_bPlaying = FALSE;
        // Nothing plays any more, so the tray must not go on showing the playing icon.
        SetTrayIcon(1);
        ShowOpenFailure();
        return;
    }
    SetTimer(IDT_PROGRESS, kProgressPeriod);
    SetDlgItemText(IDC_PAUSE, "Pause");
    m_bPaused = FALSE;
    EnableDlgItem(IDC_PAUSE, true);
}
