#include "app/MainDlg.h"

#include "platform/mci/Mci.h"
#include "platform/sys/CRand.h"
#include "platform/sys/OpenRequests.h"
#include "platform/sys/Paths.h"
#include "platform/sys/SplitPath.h"
#include "platform/sys/Utf8.h"
#include "platform/ui/Shell.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "res/dialogs/MainDialog.h"
#include "search/CDirStruct.h"
#include "search/FileChecks.h"

#include <algorithm>
#include <ctime>

namespace {

using ThisClass = CMainDlg;

const MessageMapEntry kMessageMap[] = {
    ON_WM_SYSCOMMAND(),
    ON_BN_CLICKED(IDC_PLAY, OnPlay),
    ON_BN_CLICKED(IDC_NEXT, OnNext),
    ON_BN_CLICKED(IDC_PAUSE, OnPause),
    ON_WM_TIMER(),
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse),
    ON_WM_CLOSE(),
    ON_BN_CLICKED(IDC_CONFIG, OnConfig),
    ON_BN_CLICKED(IDC_SAVESONG, OnSaveSong),
    ON_NOTIFY(NM_DBLCLK, IDC_SONGLIST, OnDblclkList),
    ON_WM_HSCROLL(),
    ON_BN_CLICKED(IDC_DELETESONG, OnDeleteSong),
    ON_BN_CLICKED(IDC_HIDE, OnHide),
    ON_BN_CLICKED(IDC_ABOUT, OnAbout),
    ON_MESSAGE(MM_MCINOTIFY, OnMciNotify),
    ON_MESSAGE(WM_TRAYNOTIFY, OnTrayNotify),
    ON_MESSAGE(WM_SOUNDFONTLOADED, OnSoundFontLoaded),
    ON_MESSAGE(WM_ENDSESSION, OnEndSession),
    ON_MESSAGE(WM_OPENREQUEST, OnOpenRequest),
    ON_MESSAGE(WM_PLAYERCONTROL, OnPlayerControl),
    ON_MESSAGE(WM_TASKBARCREATED, OnTaskbarCreated),
    ON_MESSAGE(WM_TASKBARGONE, OnTaskbarGone),
};

} // namespace

CMainDlg::CMainDlg()
    : CDialog(kMainDialogTemplate), m_slider(Item<CSliderCtrl>(IDC_SLIDER)),
      m_list(Item<CListCtrl>(IDC_SONGLIST)), m_hIcon(IDI_HEADPHONES), m_hIdleIcon(IDI_IDLE) {}

MessageMap CMainDlg::GetMessageMap() const {
    return kMessageMap;
}

BOOL CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    std::string about = LoadString(IDS_ABOUTBOX);
    if (!about.empty()) {
        AppendSystemMenu(0, "");
        AppendSystemMenu(IDM_ABOUTBOX, about);
    }
    AppendSystemMenu(IDM_SOUNDFONT, "SoundFont...");
    AppendSystemMenu(IDM_DEFAULTSOUNDFONT, "Default SoundFont");
    DeleteSystemMenu(SC_SIZE);
    GraySystemMenu(SC_MAXIMIZE, true);

    SetIcon(m_hIcon);

    m_slider.SetRange(0, 100, true);
    m_slider.SetTicFreq(10);
    m_slider.SetPageSize(10);
    m_slider.SetPos(0);

    SetDlgItemText(IDC_STATUS, "Ready");
    ShowCurrentSong("");
    SetDlgItemText(IDC_ELAPSED, "0");
    SetDlgItemText(IDC_LENGTH, "0");

    m_imlLarge = {IDI_UNPLAYED, IDI_PLAYED};
    m_imlSmall = {IDI_UNPLAYED, IDI_PLAYED};
    m_list.SetImageList(m_imlLarge, LVSIL_NORMAL);
    m_list.SetImageList(m_imlSmall, LVSIL_SMALL);

    m_list.InsertColumn(0, "Filename", LVCFMT_LEFT, 110);
    m_list.InsertColumn(1, "Folder", LVCFMT_LEFT, 230);
    m_list.InsertColumn(2, "Size", LVCFMT_LEFT, 66);
    // A name or folder cut short by its column shows whole in the row's tip.
    m_list.SetInfoTip([this](int row) { return SongPath(row); });

    AddTrayIcon();

    std::string startFolder = CurrentDirectory();
    SetDlgItemText(IDC_FOLDER, startFolder);

    LoadSettings();
    ShowSoundFontInUse();
    // A song named on the command line plays first, once its folder has been searched.
    if (std::optional<std::string> song = TakeOpenRequest(); song && FileExists(*song))
        m_strRequestedSong = *song;

    srand_classic(GetTickCount() - static_cast<DWORD>(std::time(nullptr)));

    if (m_nSCInitMode > 0)
        InitSoundcard();

    SearchFolder(startFolder);

    SetTimer(IDT_PROGRESS, 500);
    SetTimer(IDT_STARTUP, 1);
    return TRUE;
}

void CMainDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
        OnAbout();
    else if ((id & 0xFFF0) == IDM_SOUNDFONT)
        OnChooseSoundFont();
    else if ((id & 0xFFF0) == IDM_DEFAULTSOUNDFONT)
        OnDefaultSoundFont();
    else
        DefWindowProc(WM_SYSCOMMAND, id, lParam);
}

void CMainDlg::OnClose() {
    m_bClosing = true;
    if (m_pSearch)
        m_pSearch->m_bAbort = TRUE;
    KillTimer(IDT_PROGRESS);
    mciSendCommand(m_nDeviceID, MCI_CLOSE, 0, nullptr);
    SaveSettings();
    if (m_bUseTaglist)
        SaveTagList();
    RemoveTrayIcon();
    EndDialog(IDCANCEL);
}

LRESULT CMainDlg::OnEndSession(WPARAM ending, LPARAM) {
    // Marks and settings are kept as by the close box; the platform then ends the process, also
    // when this runs inside a box or a search that would otherwise wait for the user.
    if (ending)
        OnClose();
    return 0;
}

void CMainDlg::ShowCurrentSong(const std::string& path) {
    m_strCurrentFile = path;
    SplitPathParts parts = SplitPath(path);
    std::string name = parts.fname + parts.ext;
    std::string folder = parts.drive + parts.dir;
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    SetDlgItemText(IDC_SONGFOLDER, FitPath(folder, 41, [this](const std::string& text) {
                       return GetDlgItem(IDC_SONGFOLDER)->TextFits(text);
                   }));
    SetDlgItemText(IDC_SONGNAME, name);
    SetTrayTip(name.empty() ? "Shufflon" : name);
}

std::string ShortenPath(const std::string& path, std::size_t maximum) {
    // Lengths count characters, not bytes, so that a folder named in accented or non-Latin letters
    // is shortened only when it really is long. start[i] is the byte offset of character i.
    std::vector<std::size_t> start;
    for (std::size_t at = 0; at < path.size(); at += Utf8CharacterLength(path, at))
        start.push_back(at);
    std::size_t n = start.size();
    if (n <= maximum)
        return path;
    std::size_t lastSlash = path.rfind('/');
    if (lastSlash == std::string::npos)
        return path;
    std::string tail = path.substr(lastSlash);
    std::size_t t =
        n - static_cast<std::size_t>(std::lower_bound(start.begin(), start.end(), lastSlash) - start.begin());
    // The head always ends just after a '/', which is never part of a longer character.
    std::string head;
    for (std::size_t i = 0; i < n && t + i + 3 < maximum; ++i) {
        if (path[start[i]] == '/')
            head = path.substr(0, start[i] + 1);
    }
    return head + "..." + tail;
}

std::string FitPath(const std::string& path, std::size_t maximum,
                    const std::function<bool(const std::string&)>& fits) {
    // Forty-one characters of wide letters are still wider than the label in a proportional
    // font; then fewer characters are kept, by the same rule, until the text fits or only the
    // last folder is left.
    std::string shown = ShortenPath(path, maximum);
    while (maximum > 0 && !fits(shown)) {
        std::string shorter = ShortenPath(path, --maximum);
        if (shorter.size() < shown.size())
            shown = shorter;
        if (shorter.compare(0, 3, "...") == 0)
            break; // nothing is left to take out
    }
    return shown;
}

void CMainDlg::OnHide() {
    if (m_bTrayShown)
        ShowWindow(SW_HIDE);
    else
        ShowWindow(SW_MINIMIZE);
}
