#include "AppFixture.h"

namespace {

class SearchFolderTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        AddSong("a.mid", 3000);
        AddSong("b.mid", 3000);
        std::filesystem::create_directories(m_root / "other" / "sub");
        WriteSong((m_root / "other" / "x.kar").string(), 2000);
        WriteSong((m_root / "other" / "sub" / "y.rmi.mid").string(), 2000);
        std::filesystem::create_directories(m_root / "none");
    }
    std::string Other() const { return (m_root / "other").string(); }
    void Browse(const std::optional<std::string>& folder) {
        m_backend.AnswerNextBrowse(folder);
        Click(IDC_BROWSE);
    }
    void ExpectAborted() {
        ASSERT_FALSE(m_backend.Boxes().empty());
        const HeadlessBackend::Box& box = m_backend.Boxes().back();
        EXPECT_EQ(box.text, "Directory search aborted !!!");
        EXPECT_EQ(box.caption, "Shufflon");
        EXPECT_EQ(box.style, MB_OK | MB_ICONINFORMATION);
        EXPECT_EQ(Dialog().m_list.GetItemCount(), 0);
        EXPECT_EQ(Text(IDC_SONGCOUNT), "0");
        EXPECT_EQ(Text(IDC_SONGSIZE), "0 kB");
        EXPECT_FALSE(Enabled(IDC_PLAY));
        EXPECT_FALSE(Enabled(IDC_NEXT));
        EXPECT_FALSE(Enabled(IDC_PAUSE));
        EXPECT_FALSE(Dialog().m_bPlaying);
        EXPECT_EQ(Text(IDC_PLAY), "Play");
        EXPECT_FALSE(DeviceOpen());
        EXPECT_EQ(m_backend.TrayState().iconId, IDI_IDLE);
        EXPECT_EQ(Text(IDC_SONGNAME), "");
        EXPECT_EQ(Text(IDC_SONGFOLDER), "");
        EXPECT_EQ(Text(IDC_ELAPSED), "0");
        EXPECT_EQ(Text(IDC_LENGTH), "0");
        EXPECT_EQ(Dialog().m_slider.GetPos(), 0);
    }
};

TEST_F(SearchFolderTest, CompletedSearchShowsTotalsAndEnablesPlay) {
    Settings("Autoplay=0");
    CMainDlg& dialog = Start();
    EXPECT_EQ(Text(IDC_SONGCOUNT), "2");
    EXPECT_EQ(Text(IDC_SONGSIZE), "0 kB");
    EXPECT_TRUE(Enabled(IDC_PLAY));
    EXPECT_TRUE(Enabled(IDC_NEXT));
    EXPECT_FALSE(Enabled(IDC_PAUSE));
    EXPECT_EQ(dialog.m_nSongCount, 2);
    EXPECT_EQ(dialog.m_nPlayedCount, 0);
    EXPECT_EQ(dialog.m_list.GetItemText(0, 1), SongsFolder() + "/");
    EXPECT_TRUE(m_backend.Boxes().empty());
    EXPECT_FALSE(dialog.m_bPlaying);
}

TEST_F(SearchFolderTest, BrowseSearchesTheChosenTreeAndAutoplays) {
    CMainDlg& dialog = Start();
    Browse(Other());
    EXPECT_EQ(m_backend.BrowseTitles().back(), "Please, select MIDI files folder");
    EXPECT_EQ(Text(IDC_FOLDER), Other());
    EXPECT_EQ(dialog.m_list.GetItemCount(), 2);
    EXPECT_EQ(dialog.m_list.GetItemText(1, 0), "y.rmi.mid");
    EXPECT_EQ(dialog.m_list.GetItemText(1, 1), Other() + "/sub/");
    // Autoplay's Next stops the song of the old folder; the next tick plays from the new list.
    EXPECT_TRUE(dialog.m_bPlaying);
    EXPECT_FALSE(DeviceOpen());
    m_backend.Advance(500);
    EXPECT_TRUE(DeviceOpen());
    EXPECT_TRUE(Text(IDC_SONGNAME) == "x.kar" || Text(IDC_SONGNAME) == "y.rmi.mid");
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 1 / 1");
}

TEST_F(SearchFolderTest, SubfoldersOffSearchesOnlyTheFolder) {
    Settings("Autoplay=0\nSubfolders=0");
    CMainDlg& dialog = Start();
    Browse(Other());
    EXPECT_EQ(dialog.m_list.GetItemCount(), 1);
    EXPECT_EQ(dialog.m_list.GetItemText(0, 0), "x.kar");
}

TEST_F(SearchFolderTest, CancellingTheBrowserChangesNothing) {
    CMainDlg& dialog = Start();
    ASSERT_TRUE(dialog.m_bPlaying);
    std::string song = Text(IDC_SONGNAME);
    Browse(std::nullopt);
    EXPECT_EQ(Text(IDC_FOLDER), SongsFolder());
    EXPECT_EQ(dialog.m_list.GetItemCount(), 2);
    EXPECT_TRUE(DeviceOpen());
    EXPECT_EQ(Text(IDC_SONGNAME), song);
}

TEST_F(SearchFolderTest, AFolderWithoutSongsDisablesPlayWithoutAMessage) {
    Settings("Autoplay=0");
    CMainDlg& dialog = Start();
    Click(IDC_PLAY);
    Browse((m_root / "none").string());
    EXPECT_TRUE(m_backend.Boxes().empty());
    EXPECT_EQ(dialog.m_list.GetItemCount(), 0);
    EXPECT_EQ(Text(IDC_SONGCOUNT), "0");
    EXPECT_EQ(Text(IDC_SONGSIZE), "0 kB");
    EXPECT_FALSE(Enabled(IDC_PLAY));
    EXPECT_FALSE(Enabled(IDC_NEXT));
    EXPECT_FALSE(Enabled(IDC_PAUSE));
    EXPECT_EQ(Text(IDC_ELAPSED), "0");
    EXPECT_EQ(dialog.m_nSongCount, 0);
    // The song that was playing goes on.
    EXPECT_TRUE(dialog.m_bPlaying);
    EXPECT_TRUE(DeviceOpen());
}

TEST_F(SearchFolderTest, AMissingFolderOrAFileAbortsTheSearch) {
    Settings("Autoplay=0");
    CMainDlg& dialog = Start();
    Click(IDC_PLAY);
    m_backend.Advance(1200);
    ASSERT_EQ(Text(IDC_ELAPSED), "00:01");
    Browse((m_root / "gone").string());
    ExpectAborted();
    EXPECT_EQ(dialog.m_nSongCount, 2); // the counters keep their values
    EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
    Browse(SongsFolder() + "/a.mid");
    ExpectAborted();
}

TEST_F(SearchFolderTest, ClosingTheProgressWindowAbortsAndStopsTheSong) {
    Settings("Autoplay=0");
    CMainDlg& dialog = Start();
    Click(IDC_PLAY);
    ASSERT_TRUE(DeviceOpen());
    m_backend.SetClockListener([this](std::uint32_t ms) {
        mci::AdvanceOffline(ms);
        if (HWND progress = m_backend.LiveDialog(IDD_SEARCHPROGRESS))
            PostMessage(progress, WM_CLOSE, 0, 0);
    });
    Browse(Other());
    ExpectAborted();
    EXPECT_FALSE(dialog.m_bPlaying);
}

TEST_F(SearchFolderTest, BrowseWhilePausedAbandonsThePausedSong) {
    Settings("Autoplay=0");
    CMainDlg& dialog = Start();
    Click(IDC_PLAY);
    m_backend.Advance(600);
    Click(IDC_PAUSE);
    Browse(Other());
    EXPECT_FALSE(dialog.m_bPlaying);
    EXPECT_FALSE(dialog.m_bPaused);
    EXPECT_EQ(Text(IDC_PLAY), "Play");
    EXPECT_EQ(Text(IDC_PAUSE), "Pause");
    m_backend.Advance(2000);
    EXPECT_FALSE(DeviceOpen());
}

TEST_F(SearchFolderTest, BrowseWhilePlayingLeavesTheSongPlaying) {
    Settings("Autoplay=0");
    CMainDlg& dialog = Start();
    Click(IDC_PLAY);
    Browse(Other());
    EXPECT_TRUE(dialog.m_bPlaying);
    EXPECT_TRUE(DeviceOpen());
    EXPECT_EQ(Text(IDC_PLAY), "Stop");
    EXPECT_TRUE(Enabled(IDC_PLAY));
    EXPECT_FALSE(Enabled(IDC_PAUSE));
    EXPECT_EQ(Text(IDC_SONGNAME), "");
    // When it ends, the run goes on with the new list.
    m_backend.Advance(3600);
    EXPECT_TRUE(Text(IDC_SONGNAME) == "x.kar" || Text(IDC_SONGNAME) == "y.rmi.mid");
}

} // namespace
