#include "AppFixture.h"

namespace {

// Three songs of 3 s, 2 s and 4 s, played in list order, with no autoplay: the tests start Idle.
class PlayTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        AddSong("a.mid", 3000);
        AddSong("b.mid", 2000);
        AddSong("c.mid", 4000);
    }
    CMainDlg& StartIdle(const std::string& settings = "") {
        Settings("Autoplay=0\nPlayStile=1\n" + settings);
        return Start();
    }
    void ExpectIdle() {
        EXPECT_FALSE(Dialog().m_bPlaying);
        EXPECT_FALSE(Dialog().m_bPaused);
        EXPECT_EQ(Text(IDC_PLAY), "Play");
        EXPECT_EQ(Text(IDC_PAUSE), "Pause");
        EXPECT_FALSE(DeviceOpen());
        EXPECT_EQ(m_backend.TrayState().iconId, IDI_IDLE);
    }
    void DoubleClick(int row) {
        Dialog().m_list.RowChosenByUser(row);
        PostMessage(Dialog().GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
        m_backend.RunPending();
    }
    void Scroll(UINT code, UINT pos) {
        PostMessage(Dialog().GetSafeHwnd(), WM_HSCROLL,
                    MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), IDC_SLIDER);
        m_backend.RunPending();
    }
    void ExpectPlaying(const std::string& song) {
        EXPECT_TRUE(Dialog().m_bPlaying);
        EXPECT_FALSE(Dialog().m_bPaused);
        EXPECT_EQ(Text(IDC_PLAY), "Stop");
        EXPECT_EQ(Text(IDC_PAUSE), "Pause");
        EXPECT_TRUE(Enabled(IDC_PAUSE));
        EXPECT_TRUE(TimerRunning(IDT_PROGRESS));
        EXPECT_TRUE(DeviceOpen());
        EXPECT_EQ(Text(IDC_SONGNAME), song);
        EXPECT_EQ(m_backend.TrayState().iconId, IDI_HEADPHONES);
        EXPECT_EQ(m_backend.TrayState().tip, song);
    }
};

TEST_F(PlayTest, PlayStartsTheNextRowAndCountsIt) {
    CMainDlg& dialog = StartIdle();
    ExpectIdle();
    EXPECT_FALSE(Enabled(IDC_PAUSE));
    Click(IDC_PLAY);
    ExpectPlaying("a.mid");
    EXPECT_EQ(dialog.m_nCurrent, 0);
    EXPECT_TRUE(dialog.IsPlayed(0));
    EXPECT_EQ(dialog.m_list.GetItemImage(0), 1);
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 1 / 2");
    EXPECT_EQ(Text(IDC_SONGFOLDER), SongsFolder());
    EXPECT_EQ(dialog.m_list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED), 0);
    EXPECT_EQ(Text(IDC_LENGTH), "00:03");
    EXPECT_EQ(dialog.m_slider.GetRangeMax(), 3);
}

TEST_F(PlayTest, StopReturnsToIdleWithTheTimerRunning) {
    StartIdle();
    Click(IDC_PLAY);
    m_backend.Advance(1200);
    Click(IDC_PLAY);
    ExpectIdle();
    EXPECT_TRUE(TimerRunning(IDT_PROGRESS));
    EXPECT_EQ(Text(IDC_SONGNAME), "");
    EXPECT_EQ(Text(IDC_ELAPSED), "0");
    EXPECT_EQ(Dialog().m_slider.GetPos(), 0);
    m_backend.Advance(1000);
    EXPECT_EQ(Text(IDC_STATUS), "Ready");
    EXPECT_FALSE(DeviceOpen());
}

TEST_F(PlayTest, SongsFollowOneAnotherAtTheirEnd) {
    StartIdle();
    Click(IDC_PLAY);
    m_backend.Advance(2600);
    EXPECT_EQ(Text(IDC_ELAPSED), "00:02");
    EXPECT_EQ(Text(IDC_STATUS), "Playing");
    // a.mid ends at 3 s; its notice closes the device and the next tick starts b.mid.
    m_backend.Advance(1000);
    ExpectPlaying("b.mid");
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 2 / 1");
    m_backend.Advance(2600);
    ExpectPlaying("c.mid");
}

TEST_F(PlayTest, NextClosesTheSongAndTheNextTickMovesOn) {
    StartIdle();
    Click(IDC_PLAY);
    Click(IDC_NEXT);
    EXPECT_FALSE(DeviceOpen());
    EXPECT_EQ(m_backend.TrayState().iconId, IDI_IDLE);
    m_backend.Advance(500);
    ExpectPlaying("b.mid");
}

TEST_F(PlayTest, PauseAndResumeContinueAtTheSavedPosition) {
    CMainDlg& dialog = StartIdle();
    Click(IDC_PLAY);
    m_backend.Advance(1500);
    Click(IDC_PAUSE);
    EXPECT_TRUE(dialog.m_bPaused);
    EXPECT_TRUE(dialog.m_bPlaying);
    EXPECT_EQ(Text(IDC_PAUSE), "Resume");
    EXPECT_EQ(Text(IDC_STATUS), "Paused");
    EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
    EXPECT_FALSE(DeviceOpen());
    EXPECT_EQ(m_backend.TrayState().iconId, IDI_IDLE);
    EXPECT_GE(dialog.m_dwPausePos, 1500u);

    // Next while paused changes nothing but the (already idle) icon.
    Click(IDC_NEXT);
    m_backend.Advance(2000);
    EXPECT_TRUE(dialog.m_bPaused);
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");

    Click(IDC_PAUSE);
    ExpectPlaying("a.mid");
    EXPECT_GE(Position(), 1500u);
    EXPECT_LT(Position(), 1600u);
}

TEST_F(PlayTest, PauseClickedAsTheTickFallsDueStaysPaused) {
    CMainDlg& dialog = StartIdle();
    Click(IDC_PLAY);
    m_backend.Advance(499);
    // The click waits in the queue when the tick falls due behind it; Pause kills the timer, so
    // that tick must not find the closed device and start the next song.
    PostMessage(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_PAUSE, BN_CLICKED), 0);
    m_backend.ProcessEvents();
    m_backend.RunPending();
    EXPECT_TRUE(dialog.m_bPaused);
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
    EXPECT_EQ(Text(IDC_PAUSE), "Resume");
    EXPECT_FALSE(DeviceOpen());
}

TEST_F(PlayTest, StopWhilePausedLeavesTheTimerStopped) {
    StartIdle();
    Click(IDC_PLAY);
    m_backend.Advance(600);
    Click(IDC_PAUSE);
    Click(IDC_PLAY);
    ExpectIdle();
    EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
    EXPECT_EQ(Text(IDC_STATUS), "Paused");
}

TEST_F(PlayTest, DoubleClickFromIdlePlaysOneSongOnly) {
    CMainDlg& dialog = StartIdle();
    dialog.m_list.RowChosenByUser(2);
    PostMessage(dialog.GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.RunPending();
    EXPECT_FALSE(dialog.m_bPlaying);
    EXPECT_EQ(Text(IDC_PLAY), "Play");
    EXPECT_TRUE(DeviceOpen());
    EXPECT_TRUE(Enabled(IDC_PAUSE));
    EXPECT_EQ(Text(IDC_SONGNAME), "c.mid");
    EXPECT_EQ(dialog.m_nCurrent, 2);
    // The played counter is not touched by a double click.
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 0 / 3");
    m_backend.Advance(5000);
    EXPECT_FALSE(DeviceOpen());
    EXPECT_FALSE(dialog.m_bPlaying);
    EXPECT_TRUE(Enabled(IDC_PAUSE));
}

TEST_F(PlayTest, DoubleClickWithoutSelectionDoesNothing) {
    CMainDlg& dialog = StartIdle();
    PostMessage(dialog.GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.RunPending();
    EXPECT_FALSE(DeviceOpen());
    EXPECT_EQ(Text(IDC_SONGNAME), "");
}

TEST_F(PlayTest, DoubleClickDuringARunChangesTheSongAndTheRunGoesOn) {
    CMainDlg& dialog = StartIdle();
    Click(IDC_PLAY);
    dialog.m_list.RowChosenByUser(2);
    PostMessage(dialog.GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.RunPending();
    ExpectPlaying("c.mid");
    m_backend.Advance(4600);
    ExpectPlaying("a.mid"); // sequential order wraps after the last row
}

TEST_F(PlayTest, AllPlayedQuestionYesStartsOverNoStops) {
    CMainDlg& dialog = StartIdle("AllowRepetition=0");
    for (int i = 0; i < 3; ++i) {
        Click(i == 0 ? IDC_PLAY : IDC_NEXT);
        m_backend.Advance(500);
    }
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 3 / 0");

    m_backend.AnswerNextBox([&](const HeadlessBackend::Box&) {
        EXPECT_FALSE(DeviceOpen()); // closed before the question
        EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
        return IDYES;
    });
    Click(IDC_NEXT);
    m_backend.Advance(500);
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(m_backend.Boxes()[0].text, "Hey, you, all songs have been played!\nPlay again?");
    EXPECT_EQ(m_backend.Boxes()[0].caption, "Shufflon message");
    EXPECT_EQ(m_backend.Boxes()[0].style, MB_YESNO | MB_ICONINFORMATION);
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 1 / 2");
    ExpectPlaying("a.mid");
    EXPECT_FALSE(dialog.IsPlayed(1));

    Click(IDC_NEXT);
    m_backend.Advance(500);
    Click(IDC_NEXT);
    m_backend.Advance(500);
    m_backend.AnswerNextBox(IDNO);
    Click(IDC_NEXT);
    m_backend.Advance(500);
    ExpectIdle();
    EXPECT_TRUE(TimerRunning(IDT_PROGRESS));
    EXPECT_FALSE(Enabled(IDC_PAUSE));
}

TEST_F(PlayTest, RepetitionOnNeverAsksAndDoesNotRecount) {
    StartIdle();
    for (int i = 0; i < 5; ++i) {
        Click(i == 0 ? IDC_PLAY : IDC_NEXT);
        m_backend.Advance(500);
    }
    EXPECT_TRUE(m_backend.Boxes().empty());
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 3 / 0");
}

TEST_F(PlayTest, ASongThatFailsToOpenEndsTheRunWithOneErrorBox) {
    CMainDlg& dialog = StartIdle();
    std::filesystem::remove(SongsFolder() + "/a.mid");
    Click(IDC_PLAY);
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(m_backend.Boxes()[0].caption, "Shufflon Error");
    EXPECT_EQ(m_backend.Boxes()[0].style, MB_OK | MB_ICONSTOP);
    EXPECT_FALSE(m_backend.Boxes()[0].text.empty());
    ExpectIdle();
    EXPECT_TRUE(Enabled(IDC_PLAY));
    EXPECT_TRUE(Enabled(IDC_NEXT));
    EXPECT_FALSE(Enabled(IDC_PAUSE));
    EXPECT_TRUE(dialog.IsPlayed(0)); // stays marked and counted
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 1 / 2");
    m_backend.Advance(3000);
    EXPECT_EQ(m_backend.Boxes().size(), 1u);
}

TEST_F(PlayTest, AFolderOfBrokenSongsNeverLoopsOnErrorBoxes) {
    StartIdle();
    for (const char* name : {"a.mid", "b.mid", "c.mid"})
        std::ofstream(SongsFolder() + "/" + name) << "not a song";
    Click(IDC_PLAY);
    m_backend.Advance(5000);
    EXPECT_EQ(m_backend.Boxes().size(), 1u);
    ExpectIdle();
}

TEST_F(PlayTest, PlayOnAnEmptyListFromTheTrayKeepsCountersConsistent) {
    Settings("Autoplay=0\nPlayStile=1");
    std::filesystem::remove(SongsFolder() + "/a.mid");
    std::filesystem::remove(SongsFolder() + "/b.mid");
    std::filesystem::remove(SongsFolder() + "/c.mid");
    CMainDlg& dialog = Start();
    PostMessage(dialog.GetSafeHwnd(), WM_TRAYNOTIFY, IDC_TRAYICON, WM_LBUTTONDOWN);
    m_backend.RunPending();
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(m_backend.Boxes()[0].caption, "Shufflon Error");
    EXPECT_EQ(dialog.m_nPlayedCount, 0);
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 0 / 0");
    ExpectIdle();
}

TEST_F(PlayTest, TrayLeftClickPlaysPausesAndResumes) {
    CMainDlg& dialog = StartIdle();
    auto trayClick = [&] {
        PostMessage(dialog.GetSafeHwnd(), WM_TRAYNOTIFY, IDC_TRAYICON, WM_LBUTTONDOWN);
        PostMessage(dialog.GetSafeHwnd(), WM_TRAYNOTIFY, IDC_TRAYICON, WM_LBUTTONDBLCLK);
        m_backend.RunPending();
    };
    trayClick();
    ExpectPlaying("a.mid");
    trayClick();
    EXPECT_TRUE(dialog.m_bPaused);
    trayClick();
    ExpectPlaying("a.mid");
}

TEST_F(PlayTest, HidingTheWindowDoesNotInterruptTheRun) {
    CMainDlg& dialog = StartIdle();
    dialog.ShowWindow(SW_SHOW);
    Click(IDC_PLAY);
    Click(IDC_HIDE);
    EXPECT_FALSE(dialog.IsWindowVisible());
    m_backend.Advance(3600);
    ExpectPlaying("b.mid");
}

TEST_F(PlayTest, MapperQuestionOnEveryOpenNoMovesOnYesPlays) {
    CMainDlg& dialog = StartIdle();
    mci::SetPortForTesting(0);
    m_backend.AnswerNextBox([&](const HeadlessBackend::Box& box) {
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.style, MB_YESNO);
        // Ticks during the question leave the waiting device alone.
        m_backend.Advance(1200);
        EXPECT_TRUE(DeviceOpen());
        return IDYES;
    });
    Click(IDC_PLAY);
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(m_backend.Boxes()[0].text, "The MIDI mapper is not available. Continue?");
    ExpectPlaying("a.mid");

    m_backend.AnswerNextBox(IDNO);
    m_backend.AnswerNextBox(IDYES);
    Click(IDC_NEXT);
    m_backend.Advance(500); // b.mid: declined, no device, still a run
    EXPECT_TRUE(dialog.m_bPlaying);
    EXPECT_FALSE(DeviceOpen());
    m_backend.Advance(500); // the next tick moves on to c.mid and asks again
    EXPECT_EQ(m_backend.Boxes().size(), 3u);
    ExpectPlaying("c.mid");
}

TEST_F(PlayTest, IntroCutsEachSongAfterItsLength) {
    StartIdle("Intro=1\nIntroLength=1");
    Click(IDC_PLAY);
    m_backend.Advance(1000);
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid"); // 1000 ms is not above the limit
    m_backend.Advance(500);
    ExpectPlaying("b.mid");
}

TEST_F(PlayTest, SliderDragShowsTheThumbAndReleaseSeeks) {
    CMainDlg& dialog = StartIdle();
    AddSong("long.mid", 100000);
    Settings("Autoplay=0\nPlayStile=1");
    dialog.m_list.DeleteAllItems();
    dialog.SearchFolder(SongsFolder());
    dialog.m_list.RowChosenByUser(3);
    PostMessage(dialog.GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.RunPending();
    EXPECT_EQ(Text(IDC_SONGNAME), "long.mid");
    EXPECT_EQ(Text(IDC_LENGTH), "01:40");

    auto scroll = [&](UINT code, UINT pos) {
        PostMessage(dialog.GetSafeHwnd(), WM_HSCROLL,
                    MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), IDC_SLIDER);
        m_backend.RunPending();
    };
    scroll(TB_THUMBTRACK, 60);
    EXPECT_TRUE(dialog.m_bTracking);
    EXPECT_EQ(Text(IDC_ELAPSED), "01:00");
    m_backend.Advance(500);
    EXPECT_EQ(Text(IDC_ELAPSED), "01:00"); // the tick leaves the text alone while dragging
    scroll(TB_THUMBPOSITION, 75);
    scroll(TB_ENDTRACK, 0);
    EXPECT_FALSE(dialog.m_bTracking);
    EXPECT_EQ(Text(IDC_ELAPSED), "01:15");
    EXPECT_GE(Position(), 75000u);
    EXPECT_LT(Position(), 75100u);

    scroll(TB_PAGEUP, 0);
    EXPECT_GE(Position(), 65000u);
    EXPECT_LT(Position(), 65100u);
    scroll(TB_PAGEDOWN, 0);
    scroll(TB_PAGEDOWN, 0);
    scroll(TB_PAGEDOWN, 0);
    scroll(TB_PAGEDOWN, 0);
    EXPECT_GE(Position(), 100000u); // clamped to the length in whole seconds
}

TEST_F(PlayTest, PageStepNearTheStartSeeksToZero) {
    CMainDlg& dialog = StartIdle();
    Click(IDC_PLAY);
    m_backend.Advance(1000);
    PostMessage(dialog.GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(TB_PAGEUP, 0), IDC_SLIDER);
    m_backend.RunPending();
    EXPECT_LT(Position(), 100u);
    EXPECT_EQ(Text(IDC_ELAPSED), "00:00");
}

TEST_F(PlayTest, ASinglePausedSongThenPlayedKeepsThePauseFlag) {
    CMainDlg& dialog = StartIdle();
    dialog.m_list.RowChosenByUser(2);
    PostMessage(dialog.GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.RunPending();
    m_backend.Advance(1000);
    Click(IDC_PAUSE); // Single -> Single paused
    EXPECT_FALSE(dialog.m_bPlaying);
    EXPECT_TRUE(dialog.m_bPaused);
    EXPECT_FALSE(TimerRunning(IDT_PROGRESS));

    Click(IDC_PLAY); // Single paused -> Playing with pause flag
    EXPECT_TRUE(dialog.m_bPlaying);
    EXPECT_TRUE(dialog.m_bPaused);
    EXPECT_EQ(Text(IDC_PAUSE), "Resume");
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
    m_backend.Advance(500);
    EXPECT_EQ(Text(IDC_STATUS), "Paused");

    Click(IDC_PAUSE); // Resume reopens the current song at the position the last Pause saved
    EXPECT_FALSE(dialog.m_bPaused);
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
    EXPECT_GE(Position(), 1000u);
    EXPECT_LT(Position(), 1100u);
}

TEST_F(PlayTest, AFailedResumeMovesOnWithThePauseFlag) {
    CMainDlg& dialog = StartIdle();
    Click(IDC_PLAY);
    m_backend.Advance(500);
    Click(IDC_PAUSE);
    std::filesystem::remove(SongsFolder() + "/a.mid");
    m_backend.AnswerNextBox([&](const HeadlessBackend::Box& box) {
        EXPECT_EQ(box.caption, "Shufflon Error");
        EXPECT_TRUE(TimerRunning(IDT_PROGRESS));
        return IDOK;
    });
    Click(IDC_PAUSE);
    EXPECT_TRUE(dialog.m_bPaused);
    EXPECT_EQ(Text(IDC_PAUSE), "Resume");
    m_backend.Advance(500);
    EXPECT_EQ(Text(IDC_SONGNAME), "b.mid");
    EXPECT_TRUE(DeviceOpen());
    EXPECT_TRUE(dialog.m_bPaused);
    EXPECT_EQ(Text(IDC_STATUS), "Paused");
}

TEST_F(PlayTest, IntroOfZeroCutsAtTheFirstTickPastTheStart) {
    StartIdle("Intro=1\nIntroLength=0");
    Click(IDC_PLAY);
    m_backend.Advance(500);
    EXPECT_EQ(Text(IDC_SONGNAME), "b.mid");
}

TEST_F(PlayTest, PauseWhoseQueryFailsShowsTheErrorAndStopsTheTimer) {
    CMainDlg& dialog = StartIdle();
    Click(IDC_PLAY);
    Click(IDC_NEXT); // the device is closed until the next tick
    Click(IDC_PAUSE);
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(m_backend.Boxes()[0].caption, "Shufflon Error");
    EXPECT_TRUE(dialog.m_bPlaying);
    EXPECT_FALSE(dialog.m_bPaused);
    EXPECT_EQ(Text(IDC_PAUSE), "Pause");
    EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
    m_backend.Advance(2000);
    EXPECT_FALSE(DeviceOpen()); // nothing moves on
    Click(IDC_PLAY);
    ExpectIdle();
}

TEST_F(PlayTest, SeekingWhilePausedOrIdleFailsWithoutLosingThePausedPosition) {
    for (bool paused : {true, false}) {
        SCOPED_TRACE(paused ? "paused" : "idle");
        CMainDlg& dialog = StartIdle();
        Click(IDC_PLAY);
        m_backend.Advance(1500);
        Click(paused ? IDC_PAUSE : IDC_PLAY);
        std::size_t boxes = m_backend.Boxes().size();
        Scroll(TB_PAGEDOWN, 0); // its position query fails: nothing at all
        EXPECT_EQ(m_backend.Boxes().size(), boxes);
        Scroll(TB_THUMBPOSITION, 2);
        ASSERT_EQ(m_backend.Boxes().size(), boxes + 1);
        EXPECT_EQ(m_backend.Boxes().back().caption, "Shufflon Error");
        EXPECT_FALSE(DeviceOpen());
        EXPECT_EQ(dialog.m_bPaused, paused ? TRUE : FALSE);
        EXPECT_EQ(Text(IDC_ELAPSED), "00:02");
        EXPECT_FALSE(dialog.m_bTracking);
        if (paused) {
            EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
            Click(IDC_PAUSE); // Resume goes on from the paused position, not the slider's
            EXPECT_GE(Position(), 1500u);
            EXPECT_LT(Position(), 1600u);
        }
        dialog.SendMessage(WM_CLOSE);
    }
}

TEST_F(PlayTest, ADoubleClickWhoseOpenFailsEndsInIdle) {
    CMainDlg& dialog = StartIdle();
    Click(IDC_PLAY);
    std::filesystem::remove(SongsFolder() + "/c.mid");
    DoubleClick(2);
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(m_backend.Boxes()[0].caption, "Shufflon Error");
    ExpectIdle();
    EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
    EXPECT_EQ(Text(IDC_SONGNAME), "");
    EXPECT_TRUE(Enabled(IDC_PLAY));
    EXPECT_TRUE(Enabled(IDC_NEXT));
    EXPECT_FALSE(Enabled(IDC_PAUSE));
    EXPECT_TRUE(dialog.IsPlayed(2));
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 1 / 2"); // marked, not counted
}

TEST_F(PlayTest, ATickThatFindsTheSongStoppedMovesOnItself) {
    // Without completion notices only the tick sees the end.
    mci::SetNotifySink([](HWND, UINT, WPARAM, LPARAM) {});
    StartIdle();
    Click(IDC_PLAY);
    for (int tick = 0; tick < 10 && Text(IDC_SONGNAME) == "a.mid"; ++tick)
        m_backend.Advance(500);
    ExpectPlaying("b.mid");
    EXPECT_EQ(Text(IDC_STATUS), "Stopped"); // the same tick closed a.mid and started b.mid
}

TEST_F(PlayTest, ResumeAsksTheMapperQuestionAgainWithTheTimerStopped) {
    CMainDlg& dialog = StartIdle();
    mci::SetPortForTesting(0);
    Click(IDC_PLAY);
    m_backend.Advance(1000);
    Click(IDC_PAUSE);
    m_backend.AnswerNextBox([&](const HeadlessBackend::Box& box) {
        EXPECT_EQ(box.text, "The MIDI mapper is not available. Continue?");
        EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
        return IDYES;
    });
    Click(IDC_PAUSE);
    EXPECT_EQ(m_backend.Boxes().size(), 2u);
    EXPECT_FALSE(dialog.m_bPaused);
    ExpectPlaying("a.mid");
    EXPECT_GE(Position(), 1000u);
}

TEST(FormatMinSec, ShowsMinutesWithinTheHourAndSeconds) {
    std::pair<DWORD, const char*> cases[] = {{0, "00:00"},    {59, "00:59"},   {60, "01:00"},
                                             {3599, "59:59"}, {3600, "00:00"}, {3725, "02:05"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatMinSec(seconds), text) << seconds;
}

TEST_F(PlayTest, CloseWhilePlayingStopsTheSoundAndWritesSettings) {
    StartIdle();
    Click(IDC_PLAY);
    PostMessage(Dialog().GetSafeHwnd(), WM_CLOSE, 0, 0);
    m_backend.RunPending();
    EXPECT_FALSE(DeviceOpen());
    EXPECT_TRUE(std::filesystem::exists(ProfileFile()));
    EXPECT_FALSE(m_backend.TrayState().present);
}

} // namespace
