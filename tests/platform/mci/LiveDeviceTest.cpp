// The device on the live output: the real audio driver renders in its own thread and the device's
// notifier thread posts the notices. Skipped where no sound output can be opened; the sound check
// (scripts/check-sound.sh, CHECK_SOUND_RUN) runs it against a private PulseAudio server.

#include <chrono>
#include <thread>

#include "DeviceFixture.h"
#include "SmfBuilder.h"
#include "platform/mci/SoundFont.h"

namespace mcitest {
namespace {

class LiveTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        if (mci::FindSoundFont(mci::SystemSoundFonts()).empty())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        // Finding out costs a SoundFont load; once is enough.
        static bool noSoundOutput = false;
        if (noSoundOutput)
            GTEST_SKIP() << "no sound output here";
        mci::UseLiveOutput();
        const MCIERROR opened = OpenFile(m_song, m_id);
        noSoundOutput = opened == MCIERR_HARDWARE;
        if (noSoundOutput)
            GTEST_SKIP() << "no sound output here";
        ASSERT_EQ(Err(opened), Err(0));
    }

    // Waits, in real time, for the next notice.
    std::vector<Notice> WaitForNotices(std::chrono::seconds limit = std::chrono::seconds(30)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::vector<Notice> notices;
        while (notices.empty() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            notices = TakeNotices();
        }
        return notices;
    }

    MCIDEVICEID m_id = 0;
};

TEST_F(LiveTest, APlayEndsWithItsNoticeFromTheNotifierThread) {
    ASSERT_EQ(Err(PlayNotify(m_id)), Err(0));
    EXPECT_EQ(StatusOf(m_id, MCI_STATUS_MODE), MCI_MODE_PLAY);
    EXPECT_EQ(WaitForNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, m_id}}));
    // The notice comes after the device has stopped, so the player's handler finds it stopped.
    EXPECT_EQ(StatusOf(m_id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(m_id, MCI_STATUS_POSITION), kStandardLengthMs);
}

TEST_F(LiveTest, StopSeekAndCloseCutAPlayShort) {
    ASSERT_EQ(Err(PlayNotify(m_id)), Err(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(Err(mciSendCommand(m_id, MCI_STOP, 0, nullptr)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, m_id}}));
    const auto stoppedAt = StatusOf(m_id, MCI_STATUS_POSITION);
    EXPECT_LT(stoppedAt, kStandardLengthMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(StatusOf(m_id, MCI_STATUS_POSITION), stoppedAt);

    ASSERT_EQ(Err(PlayNotify(m_id)), Err(0));
    ASSERT_EQ(Err(SeekTo(m_id, 1000)), Err(0));
    ASSERT_EQ(Err(PlayNotify(m_id, kOtherWindow)), Err(0));
    ASSERT_EQ(Err(PlayNotify(m_id, kWindow)), Err(0));
    ASSERT_EQ(Err(Close(m_id)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, m_id},
                                                  {kOtherWindow, MCI_NOTIFY_SUPERSEDED, m_id},
                                                  {kWindow, MCI_NOTIFY_ABORTED, m_id}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(LiveTest, AWaitPlayReturnsWhenTheSongHasPlayed) {
    ASSERT_EQ(Err(SeekTo(m_id, 1000)), Err(0));
    MCI_PLAY_PARMS play;
    play.dwCallback = kWindow;
    ASSERT_EQ(Err(mciSendCommand(m_id, MCI_PLAY, MCI_WAIT | MCI_NOTIFY, &play)), Err(0));
    EXPECT_EQ(StatusOf(m_id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(m_id, MCI_STATUS_POSITION), kStandardLengthMs);
    EXPECT_EQ(WaitForNotices(std::chrono::seconds(2)),
              (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, m_id}}));
}

TEST_F(LiveTest, SoundsPlayOverSongs) {
    const Bytes wave = {'R', 'I', 'F', 'F', 40,  0,   0,   0,   'W',  'A',  'V', 'E', 'f',  'm',  't', ' ',
                        16,  0,   0,   0,   1,   0,   1,   0,   0x22, 0x56, 0,   0,   0x44, 0xAC, 0,   0,
                        2,   0,   16,  0,   'd', 'a', 't', 'a', 4,    0,    0,   0,   0,    0x10, 0,   0xF0};
    ASSERT_EQ(Err(PlayNotify(m_id)), Err(0));
    EXPECT_TRUE(mci::PlaySoundMemory(wave.data(), wave.size()));
    EXPECT_TRUE(mci::PlaySoundMemory(wave.data(), wave.size()));
    ASSERT_EQ(Err(Close(m_id)), Err(0));
}

} // namespace
} // namespace mcitest
