#include "platform/mpris/RemoteControls.h"
#include "AppFixture.h"
#include "app/MediaControls.h"

namespace {

// The main window on the headless backend, read and driven as the desktop's media controls do.
class RemoteControlsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        AddSong("a.mid", 3000);
        AddSong("b.mid", 5000);
        Settings("Autoplay=0\nPlayStile=1");
        Start();
    }
    PlayerView View(bool blocked = false) { return ReadPlayerView(Dialog(), m_ids, blocked); }
    bool Send(RemoteCommand command, bool blocked = false) {
        bool posted = PostRemoteCommand(Dialog(), m_ids, command, blocked);
        m_backend.RunPending();
        return posted;
    }

    MainWindowControls m_ids = MainWindowMediaControls();
};

TEST_F(RemoteControlsTest, ViewFollowsTheWindowThroughPlayPauseAndStop) {
    PlayerView idle = View();
    EXPECT_EQ(idle.state, PlaybackState::Stopped);
    EXPECT_TRUE(idle.canPlay);
    EXPECT_FALSE(idle.canPause || idle.canSeek);
    EXPECT_EQ(idle.title, "");

    // Play-pause while idle plays, as the tray's left click does.
    EXPECT_TRUE(Send(RemoteCommand::PlayPause));
    m_backend.Advance(1100);
    PlayerView playing = View();
    EXPECT_EQ(playing.state, PlaybackState::Playing);
    EXPECT_EQ(playing.title, Text(IDC_SONGNAME));
    EXPECT_EQ(playing.title, "a.mid");
    EXPECT_EQ(playing.path, SongsFolder() + "/a.mid");
    EXPECT_EQ(playing.lengthSeconds, 3);
    EXPECT_EQ(playing.positionSeconds, 1);
    EXPECT_TRUE(playing.canPlay && playing.canPause && playing.canSeek && playing.canGoNext);

    EXPECT_TRUE(Send(RemoteCommand::Pause));
    EXPECT_EQ(View().state, PlaybackState::Paused);
    EXPECT_TRUE(View().canPause);
    EXPECT_FALSE(View().canSeek);
    EXPECT_FALSE(Send(RemoteCommand::Pause)) << "a paused song is not paused again";
    EXPECT_TRUE(Send(RemoteCommand::Play));
    EXPECT_EQ(View().state, PlaybackState::Playing);
    EXPECT_EQ(Text(IDC_PAUSE), "Pause");
    EXPECT_FALSE(Send(RemoteCommand::Play)) << "a playing song is not played again";

    EXPECT_TRUE(Send(RemoteCommand::Stop));
    EXPECT_EQ(View().state, PlaybackState::Stopped);
    EXPECT_FALSE(DeviceOpen());
    EXPECT_FALSE(Send(RemoteCommand::Stop));
}

TEST_F(RemoteControlsTest, NextWhileIdlePlaysAndDuringARunMovesOn) {
    EXPECT_TRUE(Send(RemoteCommand::Next));
    EXPECT_EQ(View().title, "a.mid");
    EXPECT_TRUE(Send(RemoteCommand::Next));
    m_backend.Advance(600);
    EXPECT_EQ(View().title, "b.mid");
    EXPECT_EQ(View().state, PlaybackState::Playing);
}

TEST_F(RemoteControlsTest, ASongPlayedByDoubleClickReadsAsPlaying) {
    Dialog().m_list.RowChosenByUser(1);
    PostMessage(Dialog().GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.Advance(600);
    EXPECT_EQ(View().state, PlaybackState::Playing);
    EXPECT_EQ(View().title, "b.mid");
    // Its end leaves the name shown but nothing playing.
    m_backend.Advance(6000);
    EXPECT_EQ(View().state, PlaybackState::Stopped);
}

TEST_F(RemoteControlsTest, ABlockedWindowRefusesItsButtonsButNotTheTray) {
    Send(RemoteCommand::Next);
    for (RemoteCommand command : {RemoteCommand::Play, RemoteCommand::Pause, RemoteCommand::Stop,
                                  RemoteCommand::Next, RemoteCommand::Quit}) {
        EXPECT_FALSE(Send(command, true));
    }
    EXPECT_EQ(View().title, "a.mid");
    EXPECT_TRUE(Dialog().HasView());
    PlayerView blocked = View(true);
    EXPECT_FALSE(blocked.canPlay || blocked.canPause || blocked.canGoNext || blocked.canSeek);
    EXPECT_TRUE(Send(RemoteCommand::PlayPause, true));
    EXPECT_EQ(View().state, PlaybackState::Paused);
}

TEST_F(RemoteControlsTest, NextDuringTheAllPlayedQuestionIsRefused) {
    Settings("Autoplay=0\nPlayStile=1\nAllowRepetition=0");
    Start();
    Send(RemoteCommand::Next);
    m_backend.Advance(3600);
    EXPECT_EQ(View().title, "b.mid");
    bool postedDuringQuestion = true;
    m_backend.AnswerNextBox([&](const HeadlessBackend::Box&) {
        // The question is modal: the window's buttons cannot be reached while it is open.
        postedDuringQuestion = PostRemoteCommand(Dialog(), m_ids, RemoteCommand::Next, true);
        return IDNO;
    });
    m_backend.Advance(5600);
    EXPECT_FALSE(postedDuringQuestion);
    EXPECT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(View().state, PlaybackState::Stopped);
}

TEST_F(RemoteControlsTest, SeekMovesTheSongOnlyWhileItPlays) {
    EXPECT_FALSE(PostSeekTo(Dialog(), m_ids, 2, false)) << "a seek while idle is refused, with no error box";
    EXPECT_TRUE(m_backend.Boxes().empty());
    Send(RemoteCommand::Next);
    m_backend.Advance(600);
    EXPECT_TRUE(PostSeekTo(Dialog(), m_ids, 2, false));
    m_backend.RunPending();
    EXPECT_GE(Position(), 2000u);
    EXPECT_LT(Position(), 2200u);
    EXPECT_EQ(Text(IDC_ELAPSED), "00:02");
    // Past the end the thumb stops at the end, as the slider does.
    EXPECT_TRUE(PostSeekTo(Dialog(), m_ids, 99, false));
    m_backend.RunPending();
    EXPECT_GE(Position(), 2900u);
    EXPECT_TRUE(m_backend.Boxes().empty());
}

TEST_F(RemoteControlsTest, RaiseShowsAHiddenWindowAndQuitCloses) {
    Dialog().ShowWindow(SW_HIDE);
    EXPECT_TRUE(Send(RemoteCommand::Raise));
    EXPECT_TRUE(Dialog().IsWindowVisible());
    Send(RemoteCommand::Next);
    EXPECT_TRUE(Send(RemoteCommand::Quit));
    EXPECT_FALSE(DeviceOpen());
    EXPECT_FALSE(m_backend.TrayState().present);
    EXPECT_TRUE(std::filesystem::exists(ProfileFile()));
}

} // namespace
