#include "settings/SettingsDlg.h"

#include "platform/ui/Shell.h"
#include "res/dialogs/SettingsDialog.h"

namespace {

using ThisClass = CSettingsDlg;

const MessageMapEntry kMessageMap[] = {
    ON_BN_CLICKED(IDC_CFG_BROWSESAVE, OnBrowseSaveFolder),
    ON_BN_CLICKED(IDC_CFG_INTRO, OnIntro),
    ON_BN_CLICKED(IDC_CFG_SCDISABLED, OnSCDisabled),
    ON_BN_CLICKED(IDC_CFG_SCATSTART, OnSCAtStart),
    ON_BN_CLICKED(IDC_CFG_SCEACHFILE, OnSCEachFile),
    ON_BN_CLICKED(IDC_CFG_BROWSEDELETE, OnBrowseDeleteFolder),
    ON_BN_CLICKED(IDC_CFG_BROWSESCFILE, OnBrowseSCInitFile),
};

} // namespace

CSettingsDlg::CSettingsDlg() : CDialog(kSettingsDialogTemplate) {}

MessageMap CSettingsDlg::GetMessageMap() const {
    return kMessageMap;
}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, IDC_CFG_AUTOPLAY, m_bAutoplay);
    DDX_Check(pDX, IDC_CFG_INTRO, m_bIntro);
    DDX_Text(pDX, IDC_CFG_INTROLENGTH, m_nIntroLength);
    DDV_MinMaxUInt(pDX, m_nIntroLength, 0, 999);
    DDX_Check(pDX, IDC_CFG_SUBFOLDERS, m_bSubfolders);
    DDX_Radio(pDX, IDC_CFG_RANDOM, m_nPlayStyle);
    DDX_Text(pDX, IDC_CFG_SAVEFOLDER, m_strSaveFolder);
    DDX_Check(pDX, IDC_CFG_REPETITION, m_bAllowRepetition);
    DDX_Text(pDX, IDC_CFG_DELETEFOLDER, m_strDeleteFolder);
    DDX_Check(pDX, IDC_CFG_RUNHIDDEN, m_bRunHidden);
    DDX_Text(pDX, IDC_CFG_SCINITFILE, m_strSCInitFile);
    DDX_Radio(pDX, IDC_CFG_SCDISABLED, m_nSCInitMode);
    DDX_Check(pDX, IDC_CFG_USETAGLIST, m_bUseTaglist);
}

BOOL CSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    EnableDlgItem(IDC_CFG_INTROLENGTH, m_bIntro != 0);
    EnableInitFile(m_nSCInitMode != 0);
    return TRUE;
}

bool CSettingsDlg::Checked(int id) const {
    return Item<CButton>(id).GetCheck() != 0;
}

void CSettingsDlg::EnableInitFile(bool enable) {
    EnableDlgItem(IDC_CFG_SCINITFILE, enable);
    EnableDlgItem(IDC_CFG_BROWSESCFILE, enable);
}

void CSettingsDlg::OnIntro() {
    EnableDlgItem(IDC_CFG_INTROLENGTH, Checked(IDC_CFG_INTRO));
}

void CSettingsDlg::OnSCDisabled() {
    EnableInitFile(!Checked(IDC_CFG_SCDISABLED));
}

void CSettingsDlg::OnSCAtStart() {
    EnableInitFile(Checked(IDC_CFG_SCATSTART));
}

void CSettingsDlg::OnSCEachFile() {
    EnableInitFile(Checked(IDC_CFG_SCEACHFILE));
}

// The chosen folder or file only replaces the field's text: the member changes at OK, so Cancel
// still discards it.
void CSettingsDlg::OnBrowseSaveFolder() {
    if (std::optional<std::string> folder =
            BrowseForFolder(GetSafeHwnd(), "Please, select your favourite MIDI folder"))
        SetDlgItemText(IDC_CFG_SAVEFOLDER, *folder);
}

void CSettingsDlg::OnBrowseDeleteFolder() {
    if (std::optional<std::string> folder =
            BrowseForFolder(GetSafeHwnd(), "Please, select your deleted MIDI folder (trashcan)"))
        SetDlgItemText(IDC_CFG_DELETEFOLDER, *folder);
}

void CSettingsDlg::OnBrowseSCInitFile() {
    // Linux names need not have a dot, so the first entry shows every file, whatever its label
    // says; the MIDI patterns match any letter case.
    static const std::vector<FileFilter> kFilters = {
        {"All Files (*.*)", {"*"}},
        {"MIDI Files (*.mid;*.rmi;*.kar)", {"*.mid", "*.rmi", "*.kar"}},
    };
    if (std::optional<std::string> file =
            BrowseForFile(GetSafeHwnd(), "Select soundcard initialization file", kFilters))
        SetDlgItemText(IDC_CFG_SCINITFILE, *file);
}
