#include "app/MainDlg.h"

#include "platform/sys/Paths.h"
#include "platform/sys/Profile.h"
#include "settings/SettingsDefaults.h"

#include <string>

namespace {

const char kSection[] = "SHFConfig";

int ReadInt(const char* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileInt(kSection, key, defaultValue, ProfilePath()));
}

std::string ReadString(const char* key, const std::string& defaultValue) {
    return GetPrivateProfileString(kSection, key, defaultValue, ProfilePath());
}

} // namespace

void CMainDlg::LoadSettings() {
    m_bAutoplay = ReadInt("Autoplay", 1);
    m_bIntro = ReadInt("Intro", 0);
    m_nIntroLength = ReadInt("IntroLength", 20);
    m_nPlayStyle = ReadInt("PlayStile", 0);
    m_bSubfolders = ReadInt("Subfolders", 1);
    m_bAllowRepetition = ReadInt("AllowRepetition", 1);
    m_strSaveFolder = ReadString("SaveFolder", DefaultSaveFolder());
    m_bRunHidden = ReadInt("RunHidden", 0);
    m_nSCInitMode = ReadInt("SCInitMode", 0);
    m_strSCInitFile = ReadString("SCInitFile", "");
    m_strDeleteFolder = ReadString("DeleteFolder", DefaultDeleteFolder());
    m_bUseTaglist = ReadInt("UseTaglist", 0);
}

void CMainDlg::SaveSettings() {
    const std::string file = ProfilePath();
    auto writeInt = [&](const char* key, int value) {
        WritePrivateProfileString(kSection, key, std::to_string(value), file);
    };
    auto writeString = [&](const char* key, const std::string& value) {
        WritePrivateProfileString(kSection, key, value, file);
    };
    writeInt("Autoplay", m_bAutoplay);
    writeInt("Intro", m_bIntro);
    writeInt("IntroLength", m_nIntroLength);
    writeInt("PlayStile", m_nPlayStyle);
    writeInt("Subfolders", m_bSubfolders);
    writeInt("AllowRepetition", m_bAllowRepetition);
    writeString("SaveFolder", m_strSaveFolder);
    writeInt("RunHidden", m_bRunHidden);
    writeInt("SCInitMode", m_nSCInitMode);
    writeString("SCInitFile", m_strSCInitFile);
    writeString("DeleteFolder", m_strDeleteFolder);
    writeInt("UseTaglist", m_bUseTaglist);
}
