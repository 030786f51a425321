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

TEST_F(RemoteControlsTest, ABlockedWindowRefusesItsButtonsButNotWhatTheTrayDoes) {
    Send(RemoteCommand::Next);
    for (RemoteCommand command : {RemoteCommand::Play, RemoteCommand::Stop, RemoteCommand::Next,
                                  RemoteCommand::Previous, RemoteCommand::Quit}) {
        EXPECT_FALSE(Send(command, true));
    }
    EXPECT_EQ(View().title, "a.mid");
    EXPECT_TRUE(Dialog().HasView());
    // The tray icon's left click plays, pauses and resumes whatever box is open.
    PlayerView blocked = View(true);
    EXPECT_TRUE(blocked.canPlay && blocked.canPause);
    EXPECT_FALSE(blocked.canGoNext || blocked.canGoPrevious || blocked.canSeek);
    EXPECT_TRUE(Send(RemoteCommand::Pause, true));
    EXPECT_EQ(View().state, PlaybackState::Paused);
    EXPECT_FALSE(Send(RemoteCommand::Pause, true));
    EXPECT_TRUE(Send(RemoteCommand::Play, true));
    EXPECT_EQ(View().state, PlaybackState::Playing);
    EXPECT_TRUE(Send(RemoteCommand::PlayPause, true));
    EXPECT_EQ(View().state, PlaybackState::Paused);
    // Stopped, a blocked Play starts a run as the tray's click does.
    Send(RemoteCommand::Stop);
    EXPECT_TRUE(Send(RemoteCommand::Play, true));
    EXPECT_EQ(View().state, PlaybackState::Playing);
    // A song played by a double click is outside a run: the tray's click would start a run instead
    // of pausing it.
    Send(RemoteCommand::Stop);
    Dialog().m_list.RowChosenByUser(1);
    PostMessage(Dialog().GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.Advance(600);
    EXPECT_EQ(View().state, PlaybackState::Playing);
    EXPECT_FALSE(View(true).canPause);
    EXPECT_FALSE(Send(RemoteCommand::Pause, true));
    EXPECT_EQ(View().title, "b.mid");
}

TEST_F(RemoteControlsTest, PreviousGoesBackThroughTheSongsOfTheRun) {
    EXPECT_FALSE(View().canGoPrevious) << "nothing has played yet";
    EXPECT_FALSE(Send(RemoteCommand::Previous));
    Send(RemoteCommand::Next);
    m_backend.Advance(3600); // a.mid ends, b.mid follows
    EXPECT_EQ(View().title, "b.mid");
    EXPECT_TRUE(View().canGoPrevious);
    EXPECT_TRUE(Send(RemoteCommand::Previous));
    m_backend.Advance(600);
    EXPECT_EQ(View().title, "a.mid");
    EXPECT_EQ(View().state, PlaybackState::Playing);
    EXPECT_EQ(Text(IDC_PLAY), "Stop") << "Previous goes on with the run";
    // At the start of the history, Previous plays the song from its beginning.
    m_backend.Advance(1100);
    EXPECT_TRUE(Send(RemoteCommand::Previous));
    m_backend.Advance(100);
    EXPECT_EQ(View().title, "a.mid");
    EXPECT_LT(Position(), 500u);
    // A paused song is left for the one before.
    Send(RemoteCommand::Pause);
    EXPECT_TRUE(Send(RemoteCommand::Previous));
    EXPECT_EQ(View().state, PlaybackState::Playing);
    EXPECT_EQ(Text(IDC_PAUSE), "Pause");
}

TEST_F(RemoteControlsTest, ShuffleAndVolumeChangeTheSettingsKeptAtClose) {
    EXPECT_FALSE(View().shuffle) << "PlayStile=1 plays in list order";
    EXPECT_EQ(View().volumePercent, 100);
    PostShuffle(Dialog(), m_ids, true);
    PostVolume(Dialog(), m_ids, 37);
    m_backend.RunPending();
    EXPECT_TRUE(View().shuffle);
    EXPECT_EQ(View().volumePercent, 37);
    PostVolume(Dialog(), m_ids, 250);
    m_backend.RunPending();
    EXPECT_EQ(View().volumePercent, 100);
    PostVolume(Dialog(), m_ids, 37);
    Send(RemoteCommand::Quit);
    std::ifstream in(ProfileFile());
    const std::string profile(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(profile.find("PlayStile=0\n"), std::string::npos) << profile;
    EXPECT_NE(profile.find("Volume=37\n"), std::string::npos) << profile;

    // A stored style that already means list order stays as it is.
    Settings("PlayStile=2\nVolume=20");
    Start();
    EXPECT_EQ(View().volumePercent, 20);
    PostShuffle(Dialog(), m_ids, false);
    m_backend.RunPending();
    EXPECT_EQ(Dialog().m_nPlayStyle, 2);
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
