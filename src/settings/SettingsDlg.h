#pragma once

#include "platform/ui/Dialog.h"

#include <string>

// The settings dialog: edits a copy of the main dialog's twelve settings, which the Config button
// takes back only when the user leaves with OK.
class CSettingsDlg : public CDialog {
public:
    using ThisClass = CSettingsDlg;

    CSettingsDlg();

    BOOL OnInitDialog() override;

    void OnBrowseSaveFolder();
    void OnIntro();
    void OnSCDisabled();
    void OnSCAtStart();
    void OnSCEachFile();
    void OnBrowseDeleteFolder();
    void OnBrowseSCInitFile();

    // Members, in the Windows program's declaration order, with the main dialog's names.
    BOOL m_bAutoplay = 0;
    BOOL m_bIntro = 0;
    UINT m_nIntroLength = 0;
    BOOL m_bSubfolders = 0;
    int m_nPlayStyle = -1;
    std::string m_strSaveFolder;
    BOOL m_bAllowRepetition = 0;
    std::string m_strDeleteFolder;
    BOOL m_bRunHidden = 0;
    std::string m_strSCInitFile;
    int m_nSCInitMode = -1;
    BOOL m_bUseTaglist = 0;

protected:
    MessageMap GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // The initialisation file's field and its button go with a mode that uses the file.
    void EnableInitFile(bool enable);
    // A button's own check state after the user clicked it.
    bool Checked(int id) const;
};
