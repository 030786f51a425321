#include "app/LyricsDlg.h"

#include "app/MainDlg.h"
#include "platform/mci/Mci.h"
#include "res/Resource.h"
#include "res/dialogs/LyricsDialog.h"

namespace {

using ThisClass = CLyricsDlg;

const MessageMapEntry kMessageMap[] = {
    ON_WM_TIMER(),
    ON_WM_CLOSE(),
};

const char kNoSong[] = "The words of a karaoke song show here while it plays.";
const char kNoWords[] = "This song has no words.";

} // namespace

CLyricsDlg::CLyricsDlg(CMainDlg& player)
    : CDialog(kLyricsDialogTemplate), m_words(Item<CLyricsCtrl>(IDC_LYRICS)), m_player(player) {}

MessageMap CLyricsDlg::GetMessageMap() const {
    return kMessageMap;
}

BOOL CLyricsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(IDI_HEADPHONES);
    ShowSong("");
    return TRUE;
}

void CLyricsDlg::OnCancel() {
    m_player.SetLyricsOpen(false);
}

void CLyricsDlg::OnClose() {
    m_player.SetLyricsOpen(false);
}

void CLyricsDlg::ShowSong(const std::string& path) {
    m_lyrics = {};
    if (!path.empty()) {
        if (auto song = midi::ReadMidiFile(path); song.ok())
            m_lyrics = midi::ReadLyrics(song.value());
    }
    m_words.SetWindowText(m_lyrics.text);
    // The control keeps the words; only when each syllable ends is needed here, and a file of
    // endless words should not be held twice.
    std::string().swap(m_lyrics.text);
    // A new song starts at its beginning: only what is sung there is marked.
    m_words.SetSungLength(m_lyrics.SungLength(0));
    m_words.SetNote(path.empty() ? kNoSong : kNoWords);
    UpdateTimer();
}

void CLyricsDlg::Show(bool show) {
    ShowWindow(show ? SW_SHOW : SW_HIDE);
    UpdateTimer();
    FollowSong();
}

void CLyricsDlg::FollowTo(DWORD milliseconds) {
    m_words.SetSungLength(m_lyrics.SungLength(milliseconds));
}

void CLyricsDlg::OnTimer(UINT id) {
    if (id == IDT_LYRICS)
        FollowSong();
}

void CLyricsDlg::FollowSong() {
    if (!m_bFollowing)
        return;
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_POSITION;
    if (mciSendCommand(m_player.m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status) == 0)
        FollowTo(static_cast<DWORD>(status.dwReturn));
    else if (m_player.m_bPaused)
        FollowTo(m_player.m_dwPausePos); // a pause closes the device and keeps the position
}

void CLyricsDlg::UpdateTimer() {
    const bool follow = IsWindowVisible() && !m_lyrics.syllables.empty();
    if (follow == m_bFollowing)
        return;
    m_bFollowing = follow;
    if (follow)
        SetTimer(IDT_LYRICS, kFollowPeriod);
    else
        KillTimer(IDT_LYRICS);
}
