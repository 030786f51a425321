#pragma once

#include "platform/MMSystem.h"
#include "platform/midi/Lyrics.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/LyricsCtrl.h"

#include <string>

class CMainDlg;

// The lyrics window: the words of the song the player shows, the part already sung marked as the
// song goes on. The main window makes it at its start and keeps it, shown or not, until it
// closes, and tells it each song it shows; the words are read from the song's file then, so the
// window has them as soon as it is opened. While it is on the screen with words to show, its timer
// asks the player's sequencer device where the song is, often enough for the mark to keep time
// with the singing; a paused song stays marked where it was paused.
class CLyricsDlg : public CDialog {
public:
    using ThisClass = CLyricsDlg;

    // How often the mark follows the song, in milliseconds: a syllable is marked at most this
    // long after it is sung, which the eye does not notice.
    static constexpr UINT kFollowPeriod = 40;

    explicit CLyricsDlg(CMainDlg& player);

    BOOL OnInitDialog() override;
    // Escape and the close box close the window as the menu item does.
    void OnOK() override {}
    void OnCancel() override;
    void OnClose();
    void OnTimer(UINT id);

    // The words of the song in the file, or of no song for an empty path.
    void ShowSong(const std::string& path);
    // Shows or hides the window; it follows the song only while it shows.
    void Show(bool show);
    // Marks what has been sung by that position of the song.
    void FollowTo(DWORD milliseconds);
    // Marks what has been sung by where the player's song is now, while the window follows it.
    void FollowSong();

    CLyricsCtrl& m_words;

protected:
    MessageMap GetMessageMap() const override;

private:
    void UpdateTimer();

    CMainDlg& m_player;
    midi::Lyrics m_lyrics; // without its text, which is the control's
    bool m_bFollowing = false;
};
