#include "app/MainDlg.h"

#include "platform/mci/Mci.h"
#include "platform/ui/Shell.h"
#include "res/Resource.h"

#include <filesystem>

void CMainDlg::OnChooseSoundFont() {
    const std::vector<FileFilter> filters = {
        {"SoundFonts (*.sf2, *.sf3)", {"*.sf2", "*.sf3"}},
        {"All files (*.*)", {"*"}},
    };
    // The chooser starts where the SoundFont in use lies: the system's SoundFonts are where a
    // user would not look by himself.
    const std::string inUse = m_strSoundFont.empty() ? mci::SystemSoundFontPath() : m_strSoundFont;
    const std::string folder =
        inUse.empty() ? std::string() : std::filesystem::path(inUse).parent_path().string();
    const std::optional<std::string> path = BrowseForFile(GetSafeHwnd(), "SoundFont", filters, folder);
    if (!path)
        return;
    m_strSoundFontLoading = *path;
    mci::ChangeSoundFont(*path, GetSafeHwnd(), WM_SOUNDFONTLOADED);
}

void CMainDlg::OnDefaultSoundFont() {
    m_strSoundFontLoading.clear();
    mci::ChangeSoundFont("", GetSafeHwnd(), WM_SOUNDFONTLOADED);
}

LRESULT CMainDlg::OnSoundFontLoaded(WPARAM wParam, LPARAM lParam) {
    if (wParam) {
        m_strSoundFont = m_strSoundFontLoading;
        ShowSoundFontInUse();
        return 0;
    }
    const std::string shown = m_strSoundFontLoading.empty() ? "The default SoundFont" : m_strSoundFontLoading;
    MessageBox(shown + "\n\n" + mci::SoundFontProblemText(lParam) + "\nThe SoundFont in use stays.",
               "Shufflon", MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

void CMainDlg::ShowSoundFontInUse() {
    // The check mark says which of the two is in use; the chosen file's path is the item's tip.
    const bool chosen = !m_strSoundFont.empty();
    CheckSystemMenu(IDM_SOUNDFONT, chosen, m_strSoundFont);
    CheckSystemMenu(IDM_DEFAULTSOUNDFONT, !chosen);
}
