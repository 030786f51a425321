#include "AppFixture.h"
#include "platform/mpris/RemoteControls.h"

namespace {

class SongFileTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        AddSong("a.mid", 3000);
        AddSong("b.mid", 3000);
        Settings("Autoplay=0\nPlayStile=1\nSaveFolder=" + (m_root / "best").string() +
                 "\nDeleteFolder=" + (m_root / "bad").string());
        Start();
    }
};

TEST_F(SongFileTest, SaveCopiesTheCurrentSongWithoutOverwriting) {
    Click(IDC_SAVESONG);
    ASSERT_EQ(m_backend.Boxes().size(), 1u); // nothing plays yet: a hint, no copy
    EXPECT_FALSE(std::filesystem::exists(m_root / "best"));

    Click(IDC_PLAY);
    Click(IDC_SAVESONG);
    Click(IDC_SAVESONG);
    EXPECT_TRUE(std::filesystem::exists(m_root / "best" / "a.mid"));
    EXPECT_TRUE(std::filesystem::exists(m_root / "best" / "a (2).mid"));
    EXPECT_TRUE(std::filesystem::exists(SongsFolder() + "/a.mid"));
    EXPECT_TRUE(Dialog().m_bPlaying);
}

TEST_F(SongFileTest, DeleteMovesTheSongAwayAndTheRunGoesOn) {
    Click(IDC_PLAY);
    m_backend.AnswerNextBox(IDYES);
    Click(IDC_DELETESONG);
    EXPECT_FALSE(std::filesystem::exists(SongsFolder() + "/a.mid"));
    EXPECT_TRUE(std::filesystem::exists(m_root / "bad" / "a.mid"));
    EXPECT_EQ(Dialog().m_list.GetItemCount(), 1);
    EXPECT_EQ(Dialog().m_list.GetItemText(0, 0), "b.mid");
    EXPECT_EQ(Text(IDC_SONGCOUNT), "1");
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 0 / 1");
    m_backend.Advance(500);
    EXPECT_EQ(Text(IDC_SONGNAME), "b.mid");
    EXPECT_TRUE(DeviceOpen());
}

TEST_F(SongFileTest, DeleteMovesTheSongItAskedAboutEvenWhenAnotherPlaysByThen) {
    Click(IDC_PLAY);
    m_backend.AnswerNextBox([&](const HeadlessBackend::Box& box) {
        EXPECT_NE(box.text.find("a.mid"), std::string::npos);
        m_backend.Advance(3600); // a.mid ends and b.mid starts while the question is open
        EXPECT_EQ(Text(IDC_SONGNAME), "b.mid");
        return IDYES;
    });
    Click(IDC_DELETESONG);
    EXPECT_TRUE(std::filesystem::exists(m_root / "bad" / "a.mid"));
    EXPECT_TRUE(std::filesystem::exists(SongsFolder() + "/b.mid"));
    ASSERT_EQ(Dialog().m_list.GetItemCount(), 1);
    EXPECT_EQ(Dialog().m_list.GetItemText(0, 0), "b.mid");
    EXPECT_EQ(Dialog().m_nCurrent, 0); // still the row of the song that plays
    EXPECT_EQ(Text(IDC_SONGNAME), "b.mid");
    EXPECT_TRUE(DeviceOpen());
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 1 / 0");
}

TEST_F(SongFileTest, DeletingARowPlayedByADoubleClickKeepsTheCountOfCountedRows) {
    Click(IDC_PLAY); // a.mid counted
    Dialog().m_list.RowChosenByUser(1);
    PostMessage(Dialog().GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.RunPending(); // b.mid marked, not counted
    m_backend.AnswerNextBox(IDYES);
    Click(IDC_DELETESONG);
    ASSERT_EQ(Dialog().m_list.GetItemCount(), 1);
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 1 / 0");
    EXPECT_FALSE(DeviceOpen());
}

TEST_F(SongFileTest, DeclinedDeleteChangesNothing) {
    Click(IDC_PLAY);
    m_backend.AnswerNextBox(IDNO);
    Click(IDC_DELETESONG);
    EXPECT_TRUE(std::filesystem::exists(SongsFolder() + "/a.mid"));
    EXPECT_EQ(Dialog().m_list.GetItemCount(), 2);
    EXPECT_TRUE(DeviceOpen());
}

TEST_F(SongFileTest, DeletingTheLastSongEndsTheRun) {
    Click(IDC_PLAY);
    m_backend.AnswerNextBox(IDYES);
    Click(IDC_DELETESONG);
    m_backend.Advance(500);
    m_backend.AnswerNextBox(IDYES);
    Click(IDC_DELETESONG);
    EXPECT_EQ(Dialog().m_list.GetItemCount(), 0);
    EXPECT_FALSE(Dialog().m_bPlaying);
    EXPECT_FALSE(Enabled(IDC_PLAY));
    m_backend.Advance(2000);
    EXPECT_EQ(m_backend.Boxes().size(), 2u); // the two questions, no error boxes
}

} // namespace

namespace {

TEST_F(SongFileTest, PreviousAfterADeleteGoesToTheSongBeforeTheDeletedOne) {
    AddSong("c.mid", 3000);
    Settings("Autoplay=0\nPlayStile=1\nDeleteFolder=" + (m_root / "bad").string());
    Start();
    Click(IDC_PLAY);
    for (int song = 0; song < 2; ++song) {
        Click(IDC_NEXT);
        m_backend.Advance(600);
    }
    EXPECT_EQ(Text(IDC_SONGNAME), "c.mid");
    m_backend.AnswerNextBox(IDYES);
    Click(IDC_DELETESONG);
    PostMessage(Dialog().GetSafeHwnd(), WM_PLAYERCONTROL, PLAYER_PREVIOUS, 0);
    m_backend.RunPending();
    EXPECT_EQ(Text(IDC_SONGNAME), "b.mid");
    PostMessage(Dialog().GetSafeHwnd(), WM_PLAYERCONTROL, PLAYER_PREVIOUS, 0);
    m_backend.RunPending();
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
}

} // namespace
