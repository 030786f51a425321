#include "app/MainDlg.h"

#include "platform/mci/Mci.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Profile.h"
#include "settings/SettingsDefaults.h"

#include <string>

namespace {

const char kSection[] = "SHFConfig";

} // namespace

void CMainDlg::LoadSettings() {
    const PrivateProfile profile(ProfilePath());
    auto readInt = [&](const char* key, int defaultValue) {
        return static_cast<int>(profile.GetInt(kSection, key, defaultValue));
    };
    auto readString = [&](const char* key, const std::string& defaultValue) {
        return profile.GetString(kSection, key, defaultValue);
    };
    m_bAutoplay = readInt("Autoplay", 1);
    m_bIntro = readInt("Intro", 0);
    m_nIntroLength = readInt("IntroLength", 20);
    m_nPlayStyle = readInt("PlayStile", 0);
    m_bSubfolders = readInt("Subfolders", 1);
    m_bAllowRepetition = readInt("AllowRepetition", 1);
    m_strSaveFolder = readString("SaveFolder", DefaultSaveFolder());
    m_bRunHidden = readInt("RunHidden", 0);
    m_nSCInitMode = readInt("SCInitMode", 0);
    m_strSCInitFile = readString("SCInitFile", "");
    m_strDeleteFolder = readString("DeleteFolder", DefaultDeleteFolder());
    m_bUseTaglist = readInt("UseTaglist", 0);
    // Ours, after the twelve: the synthesiser's SoundFont, empty for the system's; the window's
    // size, which the template's size bounds from below; the synthesiser's volume.
    m_strSoundFont = readString("SoundFont", "");
    mci::PreferSoundFont(m_strSoundFont);
    m_nWindowWidth = readInt("WindowWidth", 0);
    m_nWindowHeight = readInt("WindowHeight", 0);
    if (m_nWindowWidth > 0 && m_nWindowHeight > 0)
        SetClientSize(m_nWindowWidth, m_nWindowHeight);
    SetVolume(readInt("Volume", 100));
}

void CMainDlg::SaveSettings() {
    PrivateProfile profile(ProfilePath());
    auto writeInt = [&](const char* key, int value) {
        profile.WriteString(kSection, key, std::to_string(value));
    };
    auto writeString = [&](const char* key, const std::string& value) {
        profile.WriteString(kSection, key, value);
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
    writeString("SoundFont", m_strSoundFont);
    if (HasView()) {
        m_nWindowWidth = ClientWidth();
        m_nWindowHeight = ClientHeight();
    }
    writeInt("WindowWidth", m_nWindowWidth);
    writeInt("WindowHeight", m_nWindowHeight);
    writeInt("Volume", m_nVolume);
    // A profile that cannot be written loses only the settings; nothing is reported.
    profile.Save();
}
