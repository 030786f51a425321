// The completion notices of plays: exactly one per play with MCI_NOTIFY, with the code that says
// how it ended, and the modes and positions that go with them.

#include "DeviceFixture.h"
#include "platform/mci/MciExtras.h"

namespace mcitest {
namespace {

using NoticesTest = DeviceTest;

TEST_F(NoticesTest, APlayThatEndsPostsSuccessfulOnceAndStops) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_PLAY);
    mci::AdvanceOffline(1000);
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_PLAY);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 1000u);

    mci::AdvanceOffline(750);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), kStandardLengthMs);

    mci::AdvanceOffline(2000);
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(Err(Close(id)), Err(0));
    EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(NoticesTest, StopAbortsThePlayAndKeepsThePosition) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(500);
    ASSERT_EQ(Err(mciSendCommand(id, MCI_STOP, 0, nullptr)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, id}}));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 500u);
    mci::AdvanceOffline(3000);
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 500u);
}

TEST_F(NoticesTest, SeekAbortsThePlayAndLeavesTheDeviceStoppedThere) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(300);
    ASSERT_EQ(Err(SeekTo(id, 1200)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, id}}));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 1200u);
    mci::AdvanceOffline(3000);
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 1200u);

    // The player seeks and plays again at once; the play goes on from the seek's position.
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(100);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 1300u);
    mci::AdvanceOffline(1000);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
}

TEST_F(NoticesTest, CloseAbortsThePlay) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(100);
    ASSERT_EQ(Err(Close(id)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, id}}));
    mci::AdvanceOffline(3000);
    EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(NoticesTest, APlayCutBeforeTheEngineTookItStillGetsOneNotice) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    ASSERT_EQ(Err(mciSendCommand(id, MCI_STOP, 0, nullptr)), Err(0));
    mci::AdvanceOffline(3000);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, id}}));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 0u);
}

TEST_F(NoticesTest, ANewPlayWithNotifySupersedesTheRunningOne) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id, kWindow)), Err(0));
    mci::AdvanceOffline(400);
    ASSERT_EQ(Err(PlayNotify(id, kOtherWindow)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUPERSEDED, id}}));
    // The song goes on where it was, without a break.
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 400u);
    mci::AdvanceOffline(1350);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kOtherWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
    std::vector<std::uint64_t> noteOns;
    for (const auto& message : m_sink->Messages())
        if (message.IsNoteOn())
            noteOns.push_back(message.frame);
    EXPECT_EQ(noteOns, kStandardNoteFrames) << "no note lost or played twice";
}

TEST_F(NoticesTest, APlayWithoutNotifyLeavesTheOwedNoticeInPlace) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(400);
    ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, 0, nullptr)), Err(0));
    EXPECT_TRUE(TakeNotices().empty());
    mci::AdvanceOffline(2000);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
}

TEST_F(NoticesTest, APlayFromElsewhereAbortsTheRunningOne) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id, kWindow)), Err(0));
    mci::AdvanceOffline(400);
    ASSERT_EQ(Err(PlayNotify(id, kOtherWindow, MCI_FROM, 1500)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, id}}));
    mci::AdvanceOffline(249);
    EXPECT_TRUE(TakeNotices().empty());
    mci::AdvanceOffline(2);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kOtherWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
}

TEST_F(NoticesTest, MovingTheEndOfARunningPlayAbortsItsNotice) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(400);
    MCI_PLAY_PARMS play;
    play.dwTo = 1000;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_TO, &play)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, id}}));
    mci::AdvanceOffline(700);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 1000u);
    EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(NoticesTest, AWaitPlayReturnsWhenTheSongHasPlayed) {
    const MCIDEVICEID id = OpenSong();
    MCI_PLAY_PARMS play;
    play.dwCallback = kWindow;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_WAIT, &play)), Err(0));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), kStandardLengthMs);
    EXPECT_GE(m_sink->FramesRendered(), kStandardEndFrame);
    std::size_t noteOns = 0;
    for (const auto& message : m_sink->Messages())
        noteOns += message.IsNoteOn();
    EXPECT_EQ(noteOns, kStandardNoteFrames.size());
    EXPECT_TRUE(TakeNotices().empty()) << "a wait-play without notify posts nothing";

    ASSERT_EQ(Err(SeekTo(id, 1000)), Err(0));
    ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_WAIT | MCI_NOTIFY, &play)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
}

TEST_F(NoticesTest, AWaitPlaySupersedesARunningNotifyPlay) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id, kOtherWindow)), Err(0));
    ASSERT_EQ(Err(PlayNotify(id, kWindow, MCI_WAIT)), Err(0));
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kOtherWindow, MCI_NOTIFY_SUPERSEDED, id},
                                                  {kWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
}

TEST_F(NoticesTest, APlayAtTheEndEndsAtOnce) {
    const MCIDEVICEID id = OpenSong();
    MCI_PLAY_PARMS play;
    ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_WAIT, &play)), Err(0));
    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(1);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, id}}));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), kStandardLengthMs);
}

TEST_F(NoticesTest, ANoticeWithoutAWindowIsNotPosted) {
    const MCIDEVICEID id = OpenSong();
    ASSERT_EQ(Err(PlayNotify(id, 0)), Err(0));
    mci::AdvanceOffline(2000);
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
}

TEST_F(NoticesTest, OnlyOneDevicePlaysAtATime) {
    const MCIDEVICEID a = OpenSong();
    const MCIDEVICEID b = OpenSong();
    ASSERT_EQ(Err(PlayNotify(a)), Err(0));
    EXPECT_EQ(Err(PlayNotify(b, kOtherWindow)), Err(MCIERR_SEQ_PORT_INUSE));
    EXPECT_EQ(StatusOf(b, MCI_STATUS_MODE), MCI_MODE_STOP);
    // Closing the stopped device leaves the playing one alone.
    ASSERT_EQ(Err(Close(b)), Err(0));
    EXPECT_EQ(StatusOf(a, MCI_STATUS_MODE), MCI_MODE_PLAY);
    mci::AdvanceOffline(2000);
    const MCIDEVICEID c = OpenSong();
    EXPECT_EQ(Err(PlayNotify(c, kOtherWindow)), Err(0));
    mci::AdvanceOffline(2000);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_SUCCESSFUL, a},
                                                  {kOtherWindow, MCI_NOTIFY_SUCCESSFUL, c}}));
}

TEST_F(NoticesTest, PositionsOutsideTheSongAreRefusedWithoutSideEffects) {
    const MCIDEVICEID id = OpenSong();
    EXPECT_EQ(Err(PlayNotify(id, kWindow, MCI_FROM, kStandardLengthMs + 1)), Err(MCIERR_OUTOFRANGE));
    EXPECT_EQ(Err(PlayNotify(id, kWindow, MCI_TO, 0, kStandardLengthMs + 1)), Err(MCIERR_OUTOFRANGE));
    EXPECT_EQ(Err(PlayNotify(id, kWindow, MCI_FROM | MCI_TO, 1000, 999)), Err(MCIERR_OUTOFRANGE));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);

    ASSERT_EQ(Err(PlayNotify(id)), Err(0));
    mci::AdvanceOffline(500);
    EXPECT_EQ(Err(SeekTo(id, kStandardLengthMs + 1)), Err(MCIERR_OUTOFRANGE));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_PLAY);
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(Err(SeekTo(id, kStandardLengthMs)), Err(0));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), kStandardLengthMs);
    EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{kWindow, MCI_NOTIFY_ABORTED, id}}));
}

TEST_F(NoticesTest, SeekNeedsExactlyOneTarget) {
    const MCIDEVICEID id = OpenSong();
    MCI_SEEK_PARMS seek;
    seek.dwTo = 100;
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SEEK, MCI_WAIT, &seek)), Err(MCIERR_MISSING_PARAMETER));
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SEEK, MCI_TO | MCI_SEEK_TO_END, &seek)),
              Err(MCIERR_FLAGS_NOT_COMPATIBLE));
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SEEK, MCI_TO, nullptr)), Err(MCIERR_NULL_PARAMETER_BLOCK));
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SEEK, MCI_SEEK_TO_END, &seek)), Err(0));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), kStandardLengthMs);
    EXPECT_EQ(Err(mciSendCommand(id, MCI_SEEK, MCI_SEEK_TO_START, &seek)), Err(0));
    EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), 0u);
    EXPECT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_NOTIFY, nullptr)), Err(MCIERR_NULL_PARAMETER_BLOCK));
}

} // namespace
} // namespace mcitest
