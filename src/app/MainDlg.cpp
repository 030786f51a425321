#include "app/MainDlg.h"

#include "platform/mci/Mci.h"
#include "platform/sys/CRand.h"
#include "platform/sys/Paths.h"
#include "platform/sys/SplitPath.h"
#include "platform/ui/Shell.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "res/dialogs/MainDialog.h"

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

    AddTrayIcon();

    std::string startFolder = CurrentDirectory();
    SetDlgItemText(IDC_FOLDER, startFolder);

    LoadSettings();

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
    else
        DefWindowProc(WM_SYSCOMMAND, id, lParam);
}

void CMainDlg::OnClose() {
    KillTimer(IDT_PROGRESS);
    mciSendCommand(m_nDeviceID, MCI_CLOSE, 0, nullptr);
    SaveSettings();
    if (m_bUseTaglist)
        SaveTagList();
    RemoveTrayIcon();
    EndDialog(IDCANCEL);
}

void CMainDlg::ShowCurrentSong(const std::string& path) {
    m_strCurrentFile = path;
    SplitPathParts parts = SplitPath(path);
    std::string name = parts.fname + parts.ext;
    std::string folder = parts.drive + parts.dir;
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    SetDlgItemText(IDC_SONGFOLDER, ShortenPath(folder, 41));
    SetDlgItemText(IDC_SONGNAME, name);
    SetTrayTip(name.empty() ? "Shufflon" : name);
}

std::string ShortenPath(const std::string& path, std::size_t maximum) {
    std::size_t n = path.size();
    if (n <= maximum)
        return path;
    std::size_t lastSlash = path.rfind('/');
    if (lastSlash == std::string::npos)
        return path;
    std::string tail = path.substr(lastSlash);
    std::size_t t = tail.size();
    std::string head;
    for (std::size_t i = 0; i < n && t + i + 3 < maximum; ++i) {
        if (path[i] == '/')
            head = path.substr(0, i + 1);
    }
    return head + "..." + tail;
}

void CMainDlg::OnHide() {
    if (m_bTrayShown)
        ShowWindow(SW_HIDE);
    else
        ShowWindow(SW_MINIMIZE);
}

void CMainDlg::OnAbout() {
    // The About box is not part of this build yet.
}
