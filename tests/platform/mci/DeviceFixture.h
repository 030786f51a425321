#pragma once

// The device on offline rendering with a recording sink: nothing plays until the test advances
// time, every message the synthesiser would get is recorded with its frame, and every notice is
// captured.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestSupport.h"
#include "platform/mci/Mci.h"
#include "platform/mci/RecordingSink.h"

namespace mcitest {

inline constexpr HWND kWindow = 0x1234;
inline constexpr HWND kOtherWindow = 0x5678;

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto sink = std::make_unique<mci::RecordingSink>();
        m_sink = sink.get();
        mci::UseOfflineOutput(std::move(sink));
        mci::SetNotifySink(RecordNotice);
        mci::SetPortForTesting(std::nullopt);
        m_song = m_dir.Path("song.mid");
        WriteStandardSong(m_song);
        TakeNotices();
    }

    void TearDown() override {
        mci::Shutdown();
        mci::SetNotifySink(nullptr);
        TakeNotices();
    }

    MCIERROR OpenFile(const std::string& path, MCIDEVICEID& id,
                      DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT) {
        MCI_OPEN_PARMS open;
        open.lpstrDeviceType = "sequencer";
        open.lpstrElementName = path.c_str();
        open.dwCallback = kWindow;
        const MCIERROR result = mciSendCommand(0, MCI_OPEN, flags, &open);
        id = open.wDeviceID;
        return result;
    }

    MCIDEVICEID OpenSong() {
        MCIDEVICEID id = 0;
        EXPECT_EQ(Err(OpenFile(m_song, id)), Err(0));
        return id;
    }

    DWORD_PTR StatusOf(MCIDEVICEID id, DWORD item) {
        MCI_STATUS_PARMS status;
        status.dwItem = item;
        EXPECT_EQ(Err(mciSendCommand(id, MCI_STATUS, MCI_STATUS_ITEM, &status)), Err(0));
        return status.dwReturn;
    }

    MCIERROR PlayNotify(MCIDEVICEID id, HWND window = kWindow, DWORD extraFlags = 0, DWORD from = 0,
                        DWORD to = 0) {
        MCI_PLAY_PARMS play;
        play.dwCallback = window;
        play.dwFrom = from;
        play.dwTo = to;
        return mciSendCommand(id, MCI_PLAY, MCI_NOTIFY | extraFlags, &play);
    }

    MCIERROR SeekTo(MCIDEVICEID id, DWORD ms) {
        MCI_SEEK_PARMS seek;
        seek.dwTo = ms;
        return mciSendCommand(id, MCI_SEEK, MCI_WAIT | MCI_TO, &seek);
    }

    MCIERROR Close(MCIDEVICEID id) { return mciSendCommand(id, MCI_CLOSE, 0, nullptr); }

    TempDir m_dir;
    std::string m_song;
    mci::RecordingSink* m_sink = nullptr;
};

} // namespace mcitest
