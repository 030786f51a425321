#pragma once

#include "platform/MMSystem.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/SliderCtrl.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CDirStruct;

// The main window. It owns everything: the song list, the sequencer device, the timers, the tray
// icon and the working copy of the settings. Its operations are spread over the subsystem
// folders: playback/, search/, songlist/, settings/ and app/.
class CMainDlg : public CDialog {
public:
    using ThisClass = CMainDlg;

    CMainDlg();

    BOOL OnInitDialog() override;
    // Enter and Escape reach a dialog as OK and Cancel, which would end the run without the close
    // sequence; in the main window they do nothing.
    void OnOK() override {}
    void OnCancel() override {}

    // The item data of a played row: Play counts a row when it first marks it; a double click
    // marks without counting. Both read as played; a delete takes only a counted row off the
    // played counter.
    static constexpr LPARAM kCountedMark = TRUE;
    static constexpr LPARAM kUncountedMark = 2;

    // The main dialog's own virtual operations, in their slot order.
    virtual void SetPlayedMark(int row, LPARAM played);
    virtual void InitSoundcard();
    virtual void LoadTagList();
    virtual void SaveTagList();
    virtual void ShowCurrentSong(const std::string& path);

    // Message handlers.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnClose();
    void OnPlay();
    void OnNext();
    void OnPause();
    void OnDblclkList(NMHDR* notify, LRESULT* result);
    void OnTimer(UINT id);
    void OnHScroll(UINT code, UINT pos, int controlId);
    void OnBrowse();
    void OnConfig();
    void OnAbout();
    void OnHide();
    void OnSaveSong();
    void OnDeleteSong();
    LRESULT OnMciNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    // The desktop session ends, or the program was told to end: the close sequence runs.
    LRESULT OnEndSession(WPARAM ending, LPARAM);

    // The synthesiser's SoundFont, chosen from the system menu: loaded by the device on its own
    // thread, which reports back with WM_SOUNDFONTLOADED; in use from the next song on.
    void OnChooseSoundFont();
    void OnDefaultSoundFont();
    LRESULT OnSoundFontLoaded(WPARAM wParam, LPARAM lParam);
    void ShowSoundFontInUse();

    // What the desktop's media controls ask beyond the window's controls (WM_PLAYERCONTROL).
    LRESULT OnPlayerControl(WPARAM code, LPARAM value);
    // The synthesiser's volume in percent, 0 to 100.
    void SetVolume(int percent);

    // Settings store.
    void LoadSettings();
    void SaveSettings();

    // Song list.
    bool IsPlayed(int row) const;
    // Gives the rows the marks a tag file's records give them, in memory order.
    void AssignTagMarks(const std::vector<std::int8_t>& marks);
    // The image of a row with the played mark given.
    static int PlayedImage(LPARAM played) { return played != 0 ? 1 : 0; }
    std::string SongPath(int row) const;
    void SelectAndShow(int row);
    void ShowPlayedCount();
    void ShowPlayedCount(int played, int unplayed);
    // Fields 1014 and 1015: the number of songs and their total size in whole kilobytes.
    void ShowTotals(int songs, DWORD bytes);

    // Play control: a row's song selected, shown and started (what Play and a double click share),
    // the controls of the idle state, and of the idle state after a song failed to open.
    MCIERROR ShowAndOpenRow(int row);
    // The rest of Play once the row is chosen: marked, counted, shown and started.
    void StartRow(int row);
    // Starts a play run with the row given, as Play does with the row it chooses.
    void PlayRow(int row);
    // Back to the song played before this one in the run; at the first, that song again.
    void OnPrevious();
    // The entry of the history that Previous plays, or -1 when there is none.
    int PreviousInHistory() const;
    // A row left the list: the history forgets it, and the rows after it move up.
    void ForgetRow(int row);
    void ShowIdleControls();
    void ShowOpenFailure();

    // Folder choice and search: Browse's steps once a folder is chosen, and the search.
    void ChangeFolder(const std::string& folder);
    void SearchFolder(const std::string& folder);
    // A folder or song handed over by another start of the program (WM_OPENREQUEST).
    LRESULT OnOpenRequest(WPARAM wParam, LPARAM lParam);
    // The row of the song at the path, or -1.
    int FindSongRow(const std::string& path) const;
    void ShowEmptyList();

    // Sequencer device.
    MCIERROR OpenAndPlay(HWND notify, const std::string& path);
    MCIERROR ReopenAt(HWND notify, const std::string& path, DWORD milliseconds);
    void CloseDevice();
    void ShowMciError(MCIERROR code);

    // Tray icon.
    void AddTrayIcon();
    void SetTrayIcon(int state);
    void SetTrayTip(const std::string& tip);
    void RemoveTrayIcon();
    // The desktop's notification area appeared, or went away with the icon.
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarGone(WPARAM wParam, LPARAM lParam);

    // Members, in the Windows program's declaration order.
    CSliderCtrl& m_slider;
    CListCtrl& m_list;
    std::vector<int> m_imlLarge;
    std::vector<int> m_imlSmall;
    int m_hIcon;
    int m_hIdleIcon;
    BOOL m_bTracking = FALSE;
    std::string m_strCurrentFile;
    DWORD m_dwPausePos = 0;
    MCIDEVICEID m_nDeviceID = 0;
    BOOL m_bPaused = FALSE;
    BOOL m_bPlaying = FALSE;
    BOOL m_bAutoplay = TRUE;
    BOOL m_bIntro = FALSE;
    int m_nIntroLength = 20;
    BOOL m_bSubfolders = TRUE;
    int m_nPlayStyle = 0;
    std::string m_strSaveFolder;
    DWORD m_dwLength = 0;
    int m_nCurrent = -1;
    BOOL m_bAllowRepetition = TRUE;
    std::string m_strDeleteFolder;
    BOOL m_bRunHidden = FALSE;
    std::string m_strSCInitFile;
    int m_nSCInitMode = 0;
    BOOL m_bUseTaglist = FALSE;
    CDialog* m_pTagWaitDlg = nullptr;
    int m_nSongCount = 0;
    int m_nPlayedCount = 0;

    // Whether the desktop took the tray icon; without one, Hide minimises instead, so a hidden
    // window can always be brought back.
    bool m_bTrayShown = false;
    // The tray icon's state as SetTrayIcon last set it (1 idle), for an icon added late.
    int m_nTrayIconState = 1;
    // Set while OpenAndPlay waits for the answer to the MIDI mapper question: ticks then leave the
    // device alone, since it is open but not yet started.
    bool m_bAskingMapper = false;
    // The SoundFont in use (empty: the system's), kept in the profile, and the one being loaded.
    std::string m_strSoundFont;
    std::string m_strSoundFontLoading;
    // Whether the list holds what the search of the folder found: not while the search runs, nor
    // after it was aborted (the list is then empty without the user asking).
    bool m_bSearchCompleted = false;
    // Whether the list holds the marks of the folder's tag file: read after the search, or none
    // to read. Until then the file holds marks the list does not, and a save must leave it alone.
    bool m_bTagsRead = false;
    // The search that runs, so that a close stops it.
    CDirStruct* m_pSearch = nullptr;
    // Set by the close sequence. A close dispatched inside another operation (a search, a tag list
    // operation, a chooser) runs there; the operation then stops instead of going on for a window
    // that is gone.
    bool m_bClosing = false;
    // A song the user asked for by name, played first once the search of its folder is done.
    std::string m_strRequestedSong;
    // The rows played in this run, oldest first, for Previous; -1 for a song deleted since.
    std::vector<int> m_history;
    // Ours, kept in the profile after the twelve: the window's size in pixels (0: the template's)
    // and the synthesiser's volume in percent.
    int m_nWindowWidth = 0;
    int m_nWindowHeight = 0;
    int m_nVolume = 100;

protected:
    MessageMap GetMessageMap() const override;
};

// Shortens a path to at most `maximum` characters by replacing whole folders in its middle with
// "...".
std::string ShortenPath(const std::string& path, std::size_t maximum);
// ShortenPath to at most `maximum` characters, and to fewer while the result does not fit.
std::string FitPath(const std::string& path, std::size_t maximum,
                    const std::function<bool(const std::string&)>& fits);

// "%M:%S": minutes within the hour and seconds, both two digits.
std::string FormatMinSec(DWORD seconds);
