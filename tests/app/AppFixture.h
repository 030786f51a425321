#pragma once

#include "SongFiles.h"
#include "app/MainDlg.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/mci/Mci.h"
#include "platform/mci/RecordingSink.h"
#include "platform/sys/Paths.h"
#include "platform/ui/MessageQueue.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

// Runs the main dialog on the headless backend: a folder of songs as the current directory, a
// private configuration folder, the sequencer rendering offline in step with the virtual clock.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = std::filesystem::temp_directory_path() /
                 ("shufflon-app-" + std::to_string(getpid()) + "-" + std::to_string(++s_counter));
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "songs");
        std::filesystem::create_directories(m_root / "config");
        setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        m_oldDirectory = std::filesystem::current_path();
        std::filesystem::current_path(m_root / "songs");
        mci::UseOfflineOutput(std::make_unique<mci::RecordingSink>());
        mci::SetNotifySink(&PostMessage);
        m_backend.SetClockListener([](std::uint32_t ms) { mci::AdvanceOffline(ms); });
    }

    void TearDown() override {
        if (m_dialog && m_dialog->HasView())
            m_dialog->SendMessage(WM_CLOSE);
        m_dialog.reset();
        mci::SetPortForTesting(std::nullopt);
        mci::Shutdown();
        std::filesystem::current_path(m_oldDirectory);
        std::filesystem::remove_all(m_root);
    }

    std::string SongsFolder() const { return (m_root / "songs").string(); }
    std::string ProfileFile() const {
        return (m_root / "config").string() + "/" + ::ExecutableName() + ".INI";
    }

    void AddSong(const std::string& name, std::uint32_t lengthMs) {
        WriteSong(SongsFolder() + "/" + name, lengthMs);
    }

    // Settings as profile lines, e.g. "Autoplay=0\nPlayStile=1".
    void Settings(const std::string& lines) {
        std::ofstream(ProfileFile()) << "[SHFConfig]\n" << lines << "\n";
    }

    CMainDlg& Start() {
        m_dialog = std::make_unique<CMainDlg>();
        m_dialog->Create();
        return *m_dialog;
    }

    CMainDlg& Dialog() { return *m_dialog; }
    std::string Text(int id) { return m_dialog->GetDlgItemText(id); }
    bool Enabled(int id) { return m_dialog->GetDlgItem(id)->IsWindowEnabled(); }
    void Click(int id) {
        PostMessage(m_dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
        m_backend.RunPending();
    }
    bool DeviceOpen() {
        MCI_STATUS_PARMS status;
        status.dwItem = MCI_STATUS_MODE;
        return mciSendCommand(m_dialog->m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status) == 0;
    }
    DWORD Position() {
        MCI_STATUS_PARMS status;
        status.dwItem = MCI_STATUS_POSITION;
        return mciSendCommand(m_dialog->m_nDeviceID, MCI_STATUS, MCI_STATUS_ITEM, &status) == 0
                   ? static_cast<DWORD>(status.dwReturn)
                   : 0xFFFFFFFF;
    }
    bool TimerRunning(UINT id) { return m_backend.TimerRunning(m_dialog->GetSafeHwnd(), id); }

    HeadlessBackend m_backend;
    std::unique_ptr<CMainDlg> m_dialog;
    std::filesystem::path m_root;
    std::filesystem::path m_oldDirectory;
    static inline int s_counter = 0;
};
